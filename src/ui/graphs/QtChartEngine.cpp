#include "graphs/QtChartEngine.h"

#include "graphs/ChartCanvasQt.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QSaveFile>

namespace {

const char* ImageFormatName(int format)
{
    switch (format) {
    case kChartExportPng: return "PNG";
    case kChartExportJpeg: return "JPG";
    case kChartExportBitmap: return "BMP";
    default: return nullptr;
    }
}

} // namespace

int CQtChartEngine::ChartCopyToClipboard(int, int)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!Selected() || !clipboard)
        return 1;
    clipboard->setImage(RenderChartImage(*Selected()));
    return 0;
}

// The file is written whole or not at all: an existing image is replaced only by a complete one.
int CQtChartEngine::ChartExportFile(int format, int, const std::string& file)
{
    const char* formatName = ImageFormatName(format);
    if (!Selected() || !formatName || file.empty())
        return 1;
    QSaveFile out(QFile::decodeName(QByteArray::fromStdString(file)));
    if (!out.open(QIODevice::WriteOnly))
        return 1;
    if (!RenderChartImage(*Selected()).save(&out, formatName)) {
        out.cancelWriting();
        return 1;
    }
    return out.commit() ? 0 : 1;
}
