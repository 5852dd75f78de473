#pragma once
// The stored form of a component's settings in a sectioned settings file: the
// settings' serial bytes as upper-case hexadecimal, 32 bytes (64 digits) a
// line, under keys prefix + "_d0", "_d1", ... with the line count in prefix +
// "_c". A store either loads whole or leaves the settings as they were: a
// damaged line, a missing line or a serial form that does not parse changes
// nothing.

#include <string>
#include <string_view>

#include "platform/IoResult.h"

namespace zel {

class PrintIniFile;

// Writes `bytes` under `prefix` in `section`: surplus "_d" keys of an earlier,
// longer store are removed, and with no bytes at all the "_c" key too.
void storeHexLines(PrintIniFile& ini, std::string_view section, std::string_view prefix,
                   std::string_view bytes);

enum class HexLoad {
    Empty,  // no count, a count of 0, or no bytes: nothing to load
    Loaded,
    Invalid,  // a line missing, of odd length or not hexadecimal, or a bad count
};
HexLoad loadHexLines(const PrintIniFile& ini, std::string_view section, std::string_view prefix,
                     std::string& bytes);

enum class StoreLoad { Loaded, Empty, Invalid, Unreadable };

// A component whose settings travel as one serial byte string.
class TStoreComponent {
  public:
    virtual ~TStoreComponent() = default;

    virtual std::string serialise_() const = 0;
    // False, with the settings unchanged, when `bytes` does not parse.
    virtual bool deserialise_(std::string_view bytes) = 0;

    // Writes the store into the file at `path`, keeping the rest of its text
    // (read from `basePath` when given, else from `path`; a missing file is
    // an empty one) through the safe writer.
    IoResult saveToFile_(std::string_view path, std::string_view section, std::string_view prefix,
                         std::string_view basePath = {}) const;
    // Reads the store from the file; a missing file counts as Empty.
    StoreLoad loadFromFile_(std::string_view path, std::string_view section,
                            std::string_view prefix);
};

// Where the print settings file is read and written. It lives beside the
// executable; when that folder cannot be written, the copy in the user's
// configuration folder ($XDG_CONFIG_HOME/zel/) takes over, and is read from
// then on while it is the newer one.
struct PrintSettingsFiles {
    std::string beside;      // `exeDirectory` + name
    std::string userConfig;  // $XDG_CONFIG_HOME/zel/ + name

    // The file to read: the user's copy when it exists and the one beside the
    // executable is missing or older.
    std::string readPath() const;
};
PrintSettingsFiles printSettingsFiles(std::string_view fileName, std::string_view exeDirectory);
// The usual "zelprint.ini" beside the running executable.
PrintSettingsFiles printSettingsFiles();

// Saves a component's store beside the executable, else in the user's copy
// (its folder made when needed). The text kept around the store is that of
// the file read last (readPath()).
IoResult savePrintStore(const TStoreComponent& component, const PrintSettingsFiles& files,
                        std::string_view section, std::string_view prefix);

}  // namespace zel
