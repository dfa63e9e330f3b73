#include "framework/PrintSetup.h"

#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QString>

#include <optional>

namespace {

struct CPrintSetup {
    QString printerName;
    QPageLayout layout;
    QPrinter::ColorMode colorMode = QPrinter::Color;
    QPrinter::DuplexMode duplex = QPrinter::DuplexNone;
};

// Nothing is kept until the user chooses something: the first job takes the system's defaults.
std::optional<CPrintSetup>& Setup()
{
    static std::optional<CPrintSetup> setup;
    return setup;
}

} // namespace

void ApplyPrintSetup(QPrinter& printer)
{
    const std::optional<CPrintSetup>& setup = Setup();
    if (!setup)
        return;
    // A printer that has gone since keeps the job on the system's default printer.
    if (!setup->printerName.isEmpty() && printer.outputFormat() == QPrinter::NativeFormat)
        printer.setPrinterName(setup->printerName);
    printer.setPageLayout(setup->layout);
    printer.setColorMode(setup->colorMode);
    printer.setDuplex(setup->duplex);
}

void RememberPrintSetup(const QPrinter& printer)
{
    CPrintSetup setup;
    if (printer.outputFormat() == QPrinter::NativeFormat)
        setup.printerName = printer.printerName();
    setup.layout = printer.pageLayout();
    setup.colorMode = printer.colorMode();
    setup.duplex = printer.duplex();
    Setup() = setup;
}

bool RunPrintSetupDialog(QWidget* parent)
{
    QPrinter printer(QPrinter::HighResolution);
    ApplyPrintSetup(printer);
    QPageSetupDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    RememberPrintSetup(printer);
    return true;
}
