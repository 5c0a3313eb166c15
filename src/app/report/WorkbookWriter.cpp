#include "WorkbookWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// Column widths in Excel's units, about one per Latin character and two per Japanese one.
double displayWidth(const QString &text)
{
    double width = 0;
    for (const QChar c : text)
        width += c.unicode() < 0x1100 ? 1.0 : 2.0;
    return width;
}

double cellWidth(const Cell &cell)
{
    if (const auto *text = std::get_if<QString>(&cell))
        return displayWidth(*text);
    return displayWidth(QString::number(std::get<double>(cell), 'g', 15));
}

std::vector<double> columnWidths(const Sheet &sheet)
{
    std::vector<double> widths;
    for (const QString &header : sheet.headers)
        widths.push_back(displayWidth(header) + 4); // the filter's button sits beside the header
    for (const auto &row : sheet.rows) {
        for (std::size_t c = 0; c < row.size() && c < widths.size(); ++c)
            widths[c] = std::max(widths[c], cellWidth(row[c]) * 1.1 + 1); // proportional fonts run wider
    }
    for (double &width : widths)
        width = std::clamp(width, 6.0, 80.0);
    return widths;
}

lxw_error writeCell(lxw_worksheet *sheet, lxw_row_t row, lxw_col_t column, const Cell &cell,
                    lxw_format *format)
{
    if (const auto *number = std::get_if<double>(&cell))
        return worksheet_write_number(sheet, row, column, *number, format);
    const QString &text = std::get<QString>(cell);
    if (text.isEmpty())
        return LXW_NO_ERROR;
    return worksheet_write_string(sheet, row, column, text.left(kMaxCellCharacters).toUtf8().constData(),
                                  format);
}

lxw_error writeSheet(lxw_workbook *workbook, const Sheet &sheet, lxw_format *header)
{
    lxw_worksheet *worksheet = workbook_add_worksheet(workbook, sheet.name.toUtf8().constData());
    if (!worksheet)
        return LXW_ERROR_MEMORY_MALLOC_FAILED;
    const std::vector<double> widths = columnWidths(sheet);
    for (std::size_t c = 0; c < widths.size(); ++c)
        worksheet_set_column(worksheet, lxw_col_t(c), lxw_col_t(c), widths[c], nullptr);
    worksheet_freeze_panes(worksheet, 1, 0);
    // On paper: across, one page wide, the header on every page.
    worksheet_set_landscape(worksheet);
    worksheet_fit_to_pages(worksheet, 1, 0);
    worksheet_repeat_rows(worksheet, 0, 0);
    const std::size_t rows = std::min<std::size_t>(sheet.rows.size(), kMaxRows - 1);
    const auto lastColumn = lxw_col_t(sheet.headers.size() - 1);
    worksheet_autofilter(worksheet, 0, 0, lxw_row_t(rows), lastColumn);
    // Rows go out in order: with constant memory each row is written to disk once the next begins.
    for (qsizetype c = 0; c < sheet.headers.size(); ++c) {
        if (const lxw_error error = writeCell(worksheet, 0, lxw_col_t(c), sheet.headers[c], header))
            return error;
    }
    for (std::size_t r = 0; r < rows; ++r) {
        const auto &row = sheet.rows[r];
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (const lxw_error error = writeCell(worksheet, lxw_row_t(r + 1), lxw_col_t(c), row[c], nullptr))
                return error;
        }
    }
    return LXW_NO_ERROR;
}

// A name of our own beside the final one, on the same file system, so the rename is one step.
QString reserveTemporaryName(const QString &path, QString &reason)
{
    const QFileInfo info(path);
    if (!QFileInfo(info.absolutePath()).isDir()) {
        reason = QStringLiteral("書き出し先のフォルダがありません");
        return QString();
    }
    QTemporaryFile file(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                        QStringLiteral(".XXXXXX"));
    if (!file.open()) {
        reason = file.errorString();
        return QString();
    }
    // The library makes the file anew, with the modes a new file gets here, not the reservation's own.
    return file.fileName();
}

} // namespace

bool writeWorkbook(const QString &path, const std::vector<Sheet> &sheets, QString &error)
{
    QString reason;
    const QString temporary = reserveTemporaryName(path, reason);
    if (temporary.isEmpty()) {
        error = QStringLiteral("ブックを書き出せません：%1（%2）").arg(path, reason);
        return false;
    }
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.use_zip64 = LXW_TRUE;
    lxw_workbook *workbook = workbook_new_opt(QFile::encodeName(temporary).constData(), &options);
    lxw_error result = workbook ? LXW_NO_ERROR : LXW_ERROR_MEMORY_MALLOC_FAILED;
    if (workbook) {
        lxw_format *header = workbook_add_format(workbook);
        format_set_bold(header);
        format_set_bg_color(header, 0xDDEBF7);
        for (const Sheet &sheet : sheets) {
            if ((result = writeSheet(workbook, sheet, header)) != LXW_NO_ERROR)
                break;
        }
        const lxw_error closed = workbook_close(workbook); // frees it, also after an error
        if (result == LXW_NO_ERROR)
            result = closed;
    }
    if (result == LXW_NO_ERROR &&
        std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) == 0)
        return true;
    reason = result == LXW_NO_ERROR ? QString::fromLocal8Bit(std::strerror(errno))
                                    : QString::fromUtf8(lxw_strerror(result));
    QFile::remove(temporary);
    error = QStringLiteral("ブックを書き出せません：%1（%2）").arg(path, reason);
    return false;
}
