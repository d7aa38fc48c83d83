#pragma once
// Start-up: the application title, the document and the four windows created
// in their order, and the one error reporter every user action ends in.

#include "editor/document.h"
#include "editor/editor_window.h"
#include "shell/document_controller.h"
#include "shell/file_drop.h"
#include "shell/notes_window.h"
#include "shell/recent_files.h"
#include "shell/settings_file.h"
#include "shell/start_window.h"
#include "views/view_windows.h"

namespace shell {

/** The document and the windows of one run, created in the order TForm1, TForm3, TForm4, TForm6
 * and wired to one another. Only the start window is shown, by show(). */
class Windows {
public:
    explicit Windows(doc::FileSystem& fileSystem = doc::FileSystem::real());
    void show();
    /** Start-up with a data file: the editor window is shown with the file opened as "Open"
     * would open it (editor::Document::openPath). A failing open is reported and leaves the
     * editor window in its first layout. The start window is not shown. */
    void showWithFile(const QString& path);

    SettingsFile settings;
    editor::Document document;
    // The start window and the controller hold windows made after them; they use them only once
    // the run has started.
    TForm1 form1;
    TForm3 form3;
    TForm4 form4;
    editor::TForm6 form6;
    // The windows beside the editor, opened from its menu.
    views::ViewWindows views;
    // Every data file opened goes into the desktop's recent files; files dropped onto the editor
    // window open.
    RecentFiles recentFiles;
    FileDrop fileDrop;
};

/** Sets the application title, version and desktop entry and installs the error reporter; call
 * once after QApplication. */
void initialiseApplication();

/** The whole program: initialise, read FILE from the command line, create the windows, show
 * the start window (or the editor window with FILE opened), run the loop. Returns 1 after a
 * mistake on the command line. */
int runApplication(int argc, char** argv);

} // namespace shell
