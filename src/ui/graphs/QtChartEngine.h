#pragma once

// The program's chart engine: the display-list engine of the core with the output that needs a
// device. Copies go to the clipboard as images; files are written as PNG, JPEG or Windows
// bitmaps of the chart's own pixel size, through the safe save (support/SafeFile.h).

#include "graphs/DisplayListEngine.h"

class CQtChartEngine : public CDisplayListEngine {
public:
    int ChartCopyToClipboard(int format, int unused) override;
    int ChartExportFile(int format, int unused, const std::string& file) override;
    std::string ChartExportFailure() const override { return m_exportFailure; }

private:
    std::string m_exportFailure;
};
