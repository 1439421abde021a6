#include "host.h"

#include "docx.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/ui.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <algorithm>

namespace kelvor::doc {
namespace {

QString converterOverride;
bool converterSet = false;

constexpr int ConvertTimeoutMs = 60000;

bool hasSuffix(const QString& path, const char16_t* suffix)
{
    return path.endsWith(QStringView(suffix), Qt::CaseInsensitive);
}

// The first bytes of a compound file (the old binary .doc).
bool isCompoundFile(const QString& native)
{
    QFile f(native);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    return f.read(8) == QByteArray::fromHex("D0CF11E0A1B11AE1");
}

Document convertedDoc(const QString& path, const QString& native, Shared& shared)
{
    const QString soffice = officeConverter();
    if (soffice.isEmpty()) {
        if (!shared.toldAboutDoc && shared.ui)
            shared.ui->message(DocNeedsLibreOffice, QString(), Icon::Exclamation);
        shared.toldAboutDoc = true;
        raise(err::CannotOpenDocument, path);
    }
    QTemporaryDir out(paths::windir() + QStringLiteral("/docconv-XXXXXX"));
    QTemporaryDir profile(paths::windir() + QStringLiteral("/docprofile-XXXXXX"));
    // The source is copied first: LibreOffice may lock or touch what it opens.
    const QString copy = out.filePath(QStringLiteral("source.doc"));
    if (!out.isValid() || !QFile::copy(native, copy))
        raise(err::CannotOpenDocument, path);
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(soffice, {QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profile.path()).toString(),
                      QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("docx"),
                      QStringLiteral("--outdir"), out.path(), copy});
    if (!p.waitForFinished(ConvertTimeoutMs)) {
        p.kill();
        p.waitForFinished(1000);
        raise(err::CannotOpenDocument, path + QStringLiteral(": conversion timed out"));
    }
    const QString converted = out.filePath(QStringLiteral("source.docx"));
    if (!QFileInfo(converted).isFile())
        raise(err::CannotOpenDocument, path + QStringLiteral(": conversion failed"));
    Document doc = readDocx(converted);
    doc.path = path;
    doc.lossy = true; // saving writes a .docx, never the binary file
    return doc;
}

} // namespace

QString officeConverter()
{
    if (converterSet)
        return converterOverride;
    return QStandardPaths::findExecutable(QStringLiteral("soffice"));
}

void setOfficeConverter(const QString& program)
{
    converterOverride = program;
    converterSet = true;
}

Document openDocument(const QString& path, Shared& shared)
{
    QString name = path;
    QString native = paths::resolve(name);
    if (!QFileInfo(native).isFile() && hasSuffix(name, u".doc")) {
        name += u'x'; // as "name.dwg" is taken for "name.dxf"
        native = paths::resolve(name);
    }
    if (!QFileInfo(native).isFile())
        raise(err::CannotOpenDocument, path);
    if (isCompoundFile(native))
        return convertedDoc(name, native, shared);
    Document doc = readDocx(name);
    doc.path = name;
    return doc;
}

// ---- Instance ----------------------------------------------------------------

Instance::Instance(std::shared_ptr<Shared> shared) : shared_(std::move(shared)) {}

QString Instance::caption() const
{
    const QString app = QStringLiteral("Kelvor 文档");
    if (documents_.empty())
        return app;
    const QString path = documents_.back()->path;
    const QString name = path.isEmpty() ? QStringLiteral("文档1") : QFileInfo(paths::resolve(path)).fileName();
    return name + QStringLiteral(" - ") + app;
}

Document& Instance::open(const QString& path)
{
    return adopt(openDocument(path, *shared_));
}

Document& Instance::adopt(Document doc)
{
    documents_.push_back(std::make_unique<Document>(std::move(doc)));
    changed();
    return *documents_.back();
}

Document& Instance::activeDocument()
{
    if (documents_.empty())
        raise(err::NoSuchItem, QStringLiteral("no document is open"));
    return *documents_.back();
}

void Instance::close(Document& doc)
{
    std::erase_if(documents_, [&](const std::unique_ptr<Document>& d) { return d.get() == &doc; });
    changed();
}

void Instance::quit()
{
    documents_.clear();
    quit_ = true;
    visible_ = false;
    changed();
}

void Instance::wholeStory()
{
    Document& d = activeDocument();
    d.select(0, d.length());
}

void Instance::copy()
{
    Document& d = activeDocument();
    shared_->clipboard = d.copy(d.selection().start, d.selection().end);
}

void Instance::paste()
{
    Document& d = activeDocument();
    const Selection s = d.selection();
    d.replace(s.start, s.end, QString());
    const int after = d.insert(d.selection().start, shared_->clipboard);
    d.select(after, after);
    changed();
}

void Instance::insertBreak(int type)
{
    if (type != 7)
        raise(err::InvalidArgument);
    Document& d = activeDocument();
    const Selection s = d.selection();
    const int after = d.replace(s.start, s.end, QString(PageBreakChar));
    d.select(after, after);
    changed();
}

int Instance::pageNumber()
{
    const Document& d = activeDocument();
    const Selection s = d.selection();
    return d.pageOf(s.end > s.start ? s.end - 1 : s.start);
}

bool Instance::find(const QString& text)
{
    Document& d = activeDocument();
    int start = 0;
    int end = 0;
    if (!d.find(text, d.selection().end, &start, &end))
        return false;
    d.select(start, end);
    changed();
    return true;
}

// ---- Hosts -------------------------------------------------------------------

Hosts::Hosts(Ui* ui) : shared_(std::make_shared<Shared>())
{
    shared_->ui = ui;
}

cad::WordApplication* Hosts::runningWord()
{
    if (running_ && running_->holdsDocument())
        return running_;
    if (needDocument)
        needDocument();
    return nullptr;
}

cad::WordApplication* Hosts::startWord()
{
    started_.push_back(std::make_unique<Instance>(shared_));
    return started_.back().get();
}

int Hosts::liveStarted() const
{
    return int(std::count_if(started_.begin(), started_.end(), [](const auto& i) { return !i->quitted(); }));
}

void Hosts::collect()
{
    std::erase_if(started_, [](const std::unique_ptr<Instance>& i) { return i->quitted(); });
}

} // namespace kelvor::doc
