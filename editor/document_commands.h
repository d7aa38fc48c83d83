#pragma once
// The document controller's commands that the editor window's menu and close
// event forward to, under the same names, passing the editor window as sender.

class QObject;

namespace editor {

class DocumentCommands {
public:
    virtual ~DocumentCommands() = default;
    virtual void Open1Click(QObject* sender) = 0;
    virtual void Save1Click(QObject* sender) = 0;
    virtual void Notes1Click(QObject* sender) = 0;
    virtual void About1Click(QObject* sender) = 0;
    /** Close at exit; ends the program when it completes. Throws to keep the window open. */
    virtual void FormClose(QObject* sender) = 0;
};

} // namespace editor
