#include "graphs/QtChartEngine.h"

#include "graphs/ChartCanvasQt.h"
#include "support/SafeFile.h"

#include <QBuffer>
#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

#include <ostream>

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

// The image is encoded first and written through the program's safe save, like every other file:
// whole or not at all, never over something that is no regular file, in place for a file with
// a second name.
int CQtChartEngine::ChartExportFile(int format, int, const std::string& file)
{
    m_exportFailure.clear();
    const char* formatName = ImageFormatName(format);
    if (!Selected() || !formatName || file.empty())
        return 1;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !RenderChartImage(*Selected()).save(&buffer, formatName))
        return 1;
    const auto write = [&bytes](std::ostream& out) {
        return static_cast<bool>(out.write(bytes.constData(), bytes.size()));
    };
    return WriteFileSafely(file, write, &m_exportFailure) == SafeSaveResult::Ok ? 0 : 1;
}
