#pragma once
// The text printer: its settings, the pages it makes of a list of lines, and
// the settings' stored form in the print settings file. Painting the pages on
// a printer, the preview and the settings dialog are the user interface's
// (export/ui); everything decided about a page is decided here.

#include <string>
#include <string_view>
#include <vector>

#include "export/PrintLayout.h"
#include "export/PrintSettings.h"
#include "export/PrintStore.h"

namespace zel {

// Where the main window keeps its text printer's settings.
inline constexpr std::string_view kPrintSettingsSection = "StringsPrinter1";
inline constexpr std::string_view kPrintSettingsPrefix = "Property";

// What a print or preview says when nothing can be laid out or printed.
inline constexpr std::string_view kTextAreaTooSmall =
    "ERROR: TStringsPrinter. The text area is too small.";
inline constexpr std::string_view kNothingToPrint = "Nothing to print in the chosen page range.";
// The progress window's captions: "印刷中" and "プレビューを作成中".
inline constexpr std::string_view kPrintingCaption = "\x88\xf3\x8d\xfc\x92\x86";
inline constexpr std::string_view kPreviewingCaption =
    "\x83\x76\x83\x8c\x83\x72\x83\x85\x81\x5b\x82\xf0\x8d\xec\x90\xac\x92\x86";

class TStringsPrinter : public TStoreComponent {
  public:
    PrintSettings settings;

    std::string serialise_() const override { return serialisePrintSettings(settings); }
    bool deserialise_(std::string_view bytes) override {
        return deserialisePrintSettings(bytes, settings);
    }

    // The pages of `lines`, the keywords answered from the installed clock.
    LayoutResult renderPages_(const std::vector<std::string>& lines, const PrintMetrics& metrics,
                              const LayoutProgress& progress, PrintDocument& document) const;
};

// The print title of a node: holder name + " : " + node name.
std::string printTitle(std::string_view holderName, std::string_view nodeName);

// The stored form in the print settings file (section and key prefix as the
// main window uses them by default).
IoResult savePrintSettings_(const TStringsPrinter& printer, const PrintSettingsFiles& files,
                            std::string_view section = kPrintSettingsSection,
                            std::string_view prefix = kPrintSettingsPrefix);
StoreLoad loadPrintSettings_(TStringsPrinter& printer, const PrintSettingsFiles& files,
                             std::string_view section = kPrintSettingsSection,
                             std::string_view prefix = kPrintSettingsPrefix);

}  // namespace zel
