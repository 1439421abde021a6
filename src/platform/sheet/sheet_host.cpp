#include "platform/sheet/sheet_host.h"

#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/sheet/sheet_files.h"
#include "platform/ui.h"

#include <QFileInfo>

namespace kelvor::sheet {
namespace {

const QString kFilter = QStringLiteral("Excel 工作簿(*.xlsx)|*.xlsx|CSV UTF-8(*.csv)|*.csv");

bool samePath(const QString& a, const QString& b)
{
    const QString ra = QFileInfo(paths::resolve(a)).absoluteFilePath();
    const QString rb = QFileInfo(paths::resolve(b)).absoluteFilePath();
    return ra.compare(rb, Qt::CaseInsensitive) == 0;
}

[[noreturn]] void refuse()
{
    raise(err::ObjectDefined);
}

} // namespace

void SheetHost::setVisible(bool on)
{
    visible_ = on;
    notify();
}

void SheetHost::setWorkbook(const Workbook& book)
{
    book_ = book;
    notify();
}

void SheetHost::closeWorkbook()
{
    book_.reset();
    notify();
}

const Sheet& SheetHost::activeSheetOrFail() const
{
    if (!book_)
        refuse();
    return book_->activeSheet();
}

Sheet& SheetHost::activeSheetOrFail()
{
    if (!book_)
        refuse();
    return book_->activeSheet();
}

QVariant SheetHost::cell(int row, int column) const
{
    const Sheet& s = activeSheetOrFail();
    if (!inBounds(row, column))
        refuse();
    return s.cell(row, column);
}

void SheetHost::setCell(int row, int column, const QVariant& value)
{
    if (!activeSheetOrFail().setCell(row, column, value))
        refuse();
    notify();
}

int SheetHost::activeRow() const
{
    return activeSheetOrFail().activeRow();
}

int SheetHost::activeColumn() const
{
    return activeSheetOrFail().activeColumn();
}

void SheetHost::setActiveCell(int row, int column)
{
    if (!activeSheetOrFail().setActiveCell(row, column))
        refuse();
    notify();
}

void SheetHost::open(const QString& path)
{
    setWorkbook(readWorkbook(path));
}

QString SheetHost::askName(Ui& ui, const QString& title) const
{
    FileDialogRequest r;
    r.title = title;
    r.filter = kFilter;
    r.defaultExt = QStringLiteral("xlsx");
    if (book_ && !book_->path.isEmpty())
        r.fileName = QFileInfo(book_->path).fileName();
    return ui.saveFile(r);
}

QString SheetHost::writeTo(const QString& path)
{
    writeWorkbook(*book_, path);
    book_->path = path;
    book_->dropped = Dropped();
    notify();
    return path;
}

QString SheetHost::save(Ui& ui)
{
    if (!book_)
        return QString();
    if (book_->path.isEmpty())
        return saveAs(ui);
    if (book_->dropped.any()) {
        const QString name = askName(ui, QStringLiteral("另存为（原文件的公式、格式或合并单元格不能保存）"));
        if (name.isEmpty())
            return QString();
        if (samePath(name, book_->path)) {
            ui.message(QStringLiteral("请换一个文件名：原文件含有不能保存的公式、格式或合并单元格。"),
                       QString(), Icon::Exclamation);
            return QString();
        }
        return writeTo(name);
    }
    return writeTo(book_->path);
}

QString SheetHost::saveAs(Ui& ui)
{
    if (!book_)
        return QString();
    const QString name = askName(ui, QStringLiteral("另存为"));
    if (name.isEmpty())
        return QString();
    if (book_->dropped.any() && samePath(name, book_->path)) {
        ui.message(QStringLiteral("请换一个文件名：原文件含有不能保存的公式、格式或合并单元格。"), QString(),
                   Icon::Exclamation);
        return QString();
    }
    return writeTo(name);
}

SheetHost* SheetHosts::start()
{
    if (!host_ && !available)
        return nullptr;
    return &launch();
}

SheetHost& SheetHosts::run(const Workbook& book)
{
    SheetHost& h = launch();
    h.setWorkbook(book);
    return h;
}

SheetHost& SheetHosts::launch()
{
    if (!host_) {
        host_ = std::make_unique<SheetHost>();
        if (started)
            started(*host_);
    }
    return *host_;
}

void SheetHosts::end()
{
    host_.reset();
}

} // namespace kelvor::sheet
