// The text printer on arbitrary input: a settings file whose stored form is
// read (whole or not at all) and written back to the same settings, and its
// text laid out and wrapped, every piece a whole part of its line.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "export/PrintFixedMetrics.h"
#include "export/PrintIniFile.h"
#include "export/PrintStore.h"
#include "export/TextPrinter.h"
#include "text/LineList.h"

#include "FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    // The first byte chooses the width wrapped to, in cells of ten pixels.
    const int cells = 1 + data[0] % 64;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    zel::TStringsPrinter printer;
    const zel::PrintSettings defaults = printer.settings;
    std::string bytes;
    const zel::PrintIniFile ini(text);
    check(ini.text() == text);
    if (zel::loadHexLines(ini, zel::kPrintSettingsSection, zel::kPrintSettingsPrefix, bytes) ==
        zel::HexLoad::Loaded) {
        if (printer.deserialise_(bytes)) {
            zel::TStringsPrinter again;
            check(again.deserialise_(printer.serialise_()));
            check(again.settings == printer.settings);
        } else {
            check(printer.settings == defaults);
        }
    }

    const zel::PrintFixedMetrics metrics;
    const zel::Lines lines = zel::textLines(text);
    for (const std::string& line : lines) {
        std::string joined;
        for (std::string_view piece : zel::wrapPrintLine(line, cells * 10, metrics)) {
            check(!piece.empty() || line.empty());
            joined += piece;
        }
        check(joined == line);
    }
    // Settings from the input never make the layout divide by nothing or
    // loop: it ends, or refuses the text area.
    zel::PrintDocument document;
    printer.renderPages_(lines, metrics, {}, document);
    return 0;
}
