#pragma once
// The start window TForm1: the warning text, the button that opens the editor
// window, and the open operation Button3Click with its settings step and the
// open dialog cvnopen.

#include "ui/start_form.h"

#include <QString>

namespace doc {
class FileSession;
}
namespace editor {
class TForm6;
}

namespace shell {

class TForm3;

class TForm1 : public ui::StartForm {
    Q_OBJECT
public:
    explicit TForm1(doc::FileSession& session, QWidget* parent = nullptr);

    /** The windows this one works with; set once at start-up. */
    void setWindows(TForm3* documentController, editor::TForm6* editorWindow);

    void Button5Click() override;

    /** The open operation: settings step, open dialog, load, working layout. Throws on a failing
     * step; a failed load leaves the open document as it was. */
    void Button3Click();

private:
    void readSettingsIntoDialogAndSpinBoxes();

    doc::FileSession& m_session;
    TForm3* m_form3 = nullptr;
    editor::TForm6* m_form6 = nullptr;
    QString m_cvnopenInitialDir;
};

} // namespace shell
