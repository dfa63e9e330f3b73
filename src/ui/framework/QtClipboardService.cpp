#include "framework/QtClipboardService.h"

#include "framework/Cp1252.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

QString WithLineFeeds(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

bool PutOnClipboard(const QString& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->setText(text);
    return true;
}

} // namespace

QString CQtClipboardService::ToClipboardText(const std::string& coreText)
{
    return WithLineFeeds(FromCp1252(coreText));
}

std::string CQtClipboardService::FromClipboardText(const QString& clipboardText)
{
    // Text copied by other programs may already carry CR LF; it must not become CR CR LF.
    QString text = WithLineFeeds(clipboardText);
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return ToCp1252(text);
}

bool CQtClipboardService::SetText(const std::string& text)
{
    return PutOnClipboard(ToClipboardText(text));
}

bool CQtClipboardService::SetUnicodeText(const std::string& utf8)
{
    return PutOnClipboard(WithLineFeeds(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()))));
}

bool CQtClipboardService::GetText(std::string& text)
{
    text.clear();
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data || !data->hasText())
        return false;
    text = FromClipboardText(data->text());
    return true;
}
