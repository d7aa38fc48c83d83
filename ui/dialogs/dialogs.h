#pragma once
// The modal dialogs and message boxes, behind one seam: the application uses
// the real ones; tests install a Dialogs that answers from a queue, so no test
// ever blocks on a modal.

#include <QColor>
#include <QFont>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace ui {

/** The application title: the taskbar text and the title of every error box. */
inline constexpr char16_t kApplicationTitle[] = u"Corvane OBJDAT File Editor";

class Dialogs {
public:
    enum class Answer { Yes, No, Overwrite, Reload, Cancel };

    struct OpenFileRequest {
        QString title;
        QString startFolder;
        QString filter;           // "OBJDAT|obj*.dat|Dat Files|*.dat|All Files|*.*"
        QString defaultExtension; // "dat"
    };

    /** What the font dialog chooses: the typeface with its size, style and effects, and the
     * text colour, which QFont does not carry. */
    struct FontChoice {
        QFont font;
        QColor colour;
        bool operator==(const FontChoice&) const = default;
    };
    using FontApply = std::function<void(const FontChoice&)>;

    virtual ~Dialogs() = default;
    /** The confirmed path, or an empty text when cancelled. */
    virtual QString openFile(QWidget* parent, const OpenFileRequest& request) = 0;
    /** The folder prompt. Returns the path the user confirmed (no trailing separator);
     * when cancelled, the path confirmed the last time in this run (empty if none),
     * because the prompt keeps its selection from one use to the next. */
    virtual QString browseFolder(QWidget* parent, const QString& instruction) = 0;
    /** "Confirm" with "&Yes" and "&No". */
    virtual Answer confirm(QWidget* parent, const QString& text) = 0;
    /** "Confirm" with "&Overwrite", "&Reload" and "&Cancel", the default; Escape cancels. */
    virtual Answer confirmOverwrite(QWidget* parent, const QString& text) = 0;
    /** "Information" with "OK". */
    virtual void information(QWidget* parent, const QString& text) = 0;
    /** A question answered with one line of text, titled title, label above the line, which
     * starts holding initial (selected). The text confirmed with OK, or nothing when cancelled. */
    virtual std::optional<QString> askText(QWidget* parent, const QString& title,
                                           const QString& label, const QString& initial) = 0;
    /** The font dialog, starting with initial: scalable fonts only, sizes 8 to 32 points,
     * underline, strike-out and colour. Each press of its "Apply" button calls apply with the
     * font shown, while the dialog stays open. Returns the font confirmed with OK, or nothing
     * when cancelled. */
    virtual std::optional<FontChoice> chooseFont(QWidget* parent, const FontChoice& initial,
                                                 const FontApply& apply) = 0;
    /** The error box: error icon, "OK", the application title; text already ends as shown. */
    virtual void error(QWidget* parent, const QString& text) = 0;

    /** The installed dialogs (the real ones unless replaced). */
    static Dialogs& current();
    /** Replaces the installed dialogs (nullptr: the real ones again); returns the
     * previously installed ones, nullptr meaning the real ones. Not owned. */
    static Dialogs* install(Dialogs* dialogs);
};

} // namespace ui
