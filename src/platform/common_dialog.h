#pragma once
#include "platform/context.h"
#include "platform/paths.h"

#include <QString>
#include <QStringList>

namespace kelvor {

// CommonDialog1, the main window's one file dialog, shared by every command
// that asks for a file. What a command does not set shows what the previous
// command left there (title, filter, ...). A cancelled dialog hands back ""
// and forgets the last file, so no command ever carries on with a file that
// an earlier command chose. Paths come back Windows-style ("D:\data\a.CG")
// where they lie below the mapped drives.
class CommonDialog {
public:
    explicit CommonDialog(Context& ctx)
        : props_(ctx.state().commonDialog), ui_(ctx.ui()) {}

    CommonDialog& setTitle(const QString& t) { props_.title = t; return *this; }
    CommonDialog& setFilter(const QString& f) { props_.filter = f; return *this; }
    CommonDialog& setFilterIndex(int i) { props_.filterIndex = i; return *this; }
    CommonDialog& setFileName(const QString& n) { props_.fileName = n; return *this; }
    CommonDialog& setInitDir(const QString& d) { props_.initDir = d; return *this; }
    CommonDialog& setDefaultExt(const QString& e) { props_.defaultExt = e; return *this; }
    CommonDialog& setMultiSelect(bool m) { props_.multiSelect = m; return *this; }

    const FileDialogRequest& properties() const { return props_; }
    QString fileName() const { return props_.fileName; }

    // The chosen file, or "" when cancelled.
    QString showOpen()
    {
        const QStringList l = showOpenFiles();
        return l.isEmpty() ? QString() : l.first();
    }
    QStringList showOpenFiles()
    {
        QStringList chosen = ui_.openFiles(props_);
        for (QString& p : chosen)
            p = paths::toWindows(p);
        chosen.removeAll(QString());
        props_.fileName = chosen.isEmpty() ? QString() : chosen.first();
        return chosen;
    }
    QString showSave()
    {
        const QString chosen = paths::toWindows(ui_.saveFile(props_));
        props_.fileName = chosen;
        return chosen;
    }

private:
    FileDialogRequest& props_;
    Ui& ui_;
};

} // namespace kelvor
