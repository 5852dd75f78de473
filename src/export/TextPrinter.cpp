#include "export/TextPrinter.h"

#include "platform/Clock.h"

namespace zel {

LayoutResult TStringsPrinter::renderPages_(const std::vector<std::string>& lines,
                                           const PrintMetrics& metrics,
                                           const LayoutProgress& progress,
                                           PrintDocument& document) const {
    return layoutPages(lines, settings, metrics, clockNow(), progress, document);
}

std::string printTitle(std::string_view holderName, std::string_view nodeName) {
    return std::string(holderName) + " : " + std::string(nodeName);
}

IoResult savePrintSettings_(const TStringsPrinter& printer, const PrintSettingsFiles& files,
                            std::string_view section, std::string_view prefix) {
    return savePrintStore(printer, files, section, prefix);
}

StoreLoad loadPrintSettings_(TStringsPrinter& printer, const PrintSettingsFiles& files,
                             std::string_view section, std::string_view prefix) {
    return printer.loadFromFile_(files.readPath(), section, prefix);
}

}  // namespace zel
