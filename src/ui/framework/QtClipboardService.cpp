#include "framework/QtClipboardService.h"

#include "framework/Cp1252.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

QString CQtClipboardService::ToClipboardText(const std::string& coreText)
{
    QString text = FromCp1252(coreText);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

std::string CQtClipboardService::FromClipboardText(const QString& clipboardText)
{
    // Text copied by other programs may already carry CR LF; it must not become CR CR LF.
    QString text = clipboardText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return ToCp1252(text);
}

bool CQtClipboardService::SetText(const std::string& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->setText(ToClipboardText(text));
    return true;
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
