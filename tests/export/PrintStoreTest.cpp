// The stored form of the print settings: the hex lines in the sectioned
// settings file, the file left intact around them, and where it is written.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "export/PrintIniFile.h"
#include "export/PrintStore.h"
#include "export/TextPrinter.h"
#include "platform/FileSystem.h"
#include "support/TempFolder.h"

namespace zel {
namespace {

using ::testing::ElementsAre;

std::string bytesUpTo(int count) {
    std::string bytes;
    for (int i = 0; i < count; ++i) bytes += static_cast<char>(i);
    return bytes;
}

TEST(PrintIniFileTest, EditsTouchOnlyTheirLines) {
    const std::string original =
        "; printer settings\r\n[Other]\r\nkey=1\r\n\r\n[StringsPrinter1]\nA=1\n\n[Last]\rx=y";
    PrintIniFile ini(original);
    EXPECT_EQ(ini.text(), original);
    EXPECT_EQ(ini.value("stringsprinter1", "a"), "1");
    EXPECT_EQ(ini.value("Other", "missing"), std::nullopt);

    ini.set("StringsPrinter1", "A", "2");
    ini.set("StringsPrinter1", "B", "3");
    ini.set("Last", "z", "w");
    ini.set("New", "k", "v");
    EXPECT_EQ(ini.text(),
              "; printer settings\r\n[Other]\r\nkey=1\r\n\r\n[StringsPrinter1]\nA=2\nB=3\r\n\n"
              "[Last]\rx=y\r\nz=w\r\n[New]\r\nk=v\r\n");
    EXPECT_THAT(ini.keys("StringsPrinter1"), ElementsAre("A", "B"));
    EXPECT_TRUE(ini.remove("StringsPrinter1", "a"));
    EXPECT_FALSE(ini.remove("StringsPrinter1", "a"));
    EXPECT_EQ(ini.value("StringsPrinter1", "B"), "3");
}

TEST(PrintStoreTest, HexLinesOfThirtyTwoBytesAndSurplusKeysRemoved) {
    const std::string around = "[Keep]\r\n; comment\r\nx=1\r\n";
    PrintIniFile ini(around);
    storeHexLines(ini, "StringsPrinter1", "Property", bytesUpTo(70));
    EXPECT_EQ(ini.value("StringsPrinter1", "Property_c"), "3");
    EXPECT_EQ(ini.value("StringsPrinter1", "Property_d0"),
              "000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F");
    EXPECT_EQ(ini.value("StringsPrinter1", "Property_d1"),
              "202122232425262728292A2B2C2D2E2F303132333435363738393A3B3C3D3E3F");
    EXPECT_EQ(ini.value("StringsPrinter1", "Property_d2"), "404142434445");
    std::string bytes;
    EXPECT_EQ(loadHexLines(ini, "StringsPrinter1", "Property", bytes), HexLoad::Loaded);
    EXPECT_EQ(bytes, bytesUpTo(70));

    storeHexLines(ini, "StringsPrinter1", "Property", bytesUpTo(40));
    EXPECT_EQ(ini.value("StringsPrinter1", "Property_c"), "2");
    EXPECT_EQ(ini.value("StringsPrinter1", "Property_d2"), std::nullopt);

    storeHexLines(ini, "StringsPrinter1", "Property", "");
    EXPECT_TRUE(ini.keys("StringsPrinter1").empty());
    EXPECT_EQ(ini.text().substr(0, around.size()), around);
    EXPECT_EQ(loadHexLines(ini, "StringsPrinter1", "Property", bytes), HexLoad::Empty);
}

TEST(PrintStoreTest, DamagedStoresLoadNothing) {
    auto load = [](std::string_view text) {
        std::string bytes = "old";
        HexLoad result = loadHexLines(PrintIniFile(text), "S", "P", bytes);
        EXPECT_EQ(bytes.empty(), result != HexLoad::Loaded);
        return result;
    };
    EXPECT_EQ(load("[S]\nP_c=1\nP_d0=4142\n"), HexLoad::Loaded);
    EXPECT_EQ(load("[S]\nP_c=1\nP_d0=0G\n"), HexLoad::Invalid);
    EXPECT_EQ(load("[S]\nP_c=1\nP_d0=414\n"), HexLoad::Invalid);
    EXPECT_EQ(load("[S]\nP_c=2\nP_d0=41\n"), HexLoad::Invalid);
    EXPECT_EQ(load("[S]\nP_c=-1\n"), HexLoad::Invalid);
    EXPECT_EQ(load("[S]\nP_c=99999999999\n"), HexLoad::Invalid);
    EXPECT_EQ(load("[S]\nP_c=0\n"), HexLoad::Empty);
    EXPECT_EQ(load("[S]\nP_d0=41\n"), HexLoad::Empty);

    // Hex that decodes to a serial form that does not parse changes nothing.
    TStringsPrinter printer;
    printer.settings.setColumnCount(2);
    test::TempFolder folder;
    const std::string path = folder.path("zelprint.ini");
    PrintIniFile ini;
    storeHexLines(ini, "StringsPrinter1", "Property", "ColumnCount=3\nMarginTop=x\n");
    { std::ofstream(folder.osPath("zelprint.ini"), std::ios::binary) << ini.text(); }
    EXPECT_EQ(printer.loadFromFile_(path, "StringsPrinter1", "Property"), StoreLoad::Invalid);
    EXPECT_EQ(printer.settings.columnCount(), 2);
    EXPECT_EQ(printer.loadFromFile_(folder.path("none.ini"), "StringsPrinter1", "Property"),
              StoreLoad::Empty);
}

TEST(PrintStoreTest, SettingsGoBesideTheProgramOrElseToTheUsersFolder) {
    test::TempFolder folder;
    ASSERT_TRUE(makeDirs(folder.path("exe")));
    ::setenv("XDG_CONFIG_HOME", folder.osPath("config").c_str(), 1);
    const PrintSettingsFiles files = printSettingsFiles("zelprint.ini", folder.path("exe"));
    EXPECT_EQ(files.beside, folder.path("exe/zelprint.ini"));
    EXPECT_EQ(files.userConfig, folder.path("config/zel/zelprint.ini"));

    {
        std::ofstream(folder.osPath("exe/zelprint.ini"), std::ios::binary)
            << "[Window]\r\nTop=3\r\n";
    }
    TStringsPrinter printer;
    printer.settings.setFooter("%p");
    printer.settings.setFooterAlign(haCenter);
    ASSERT_TRUE(savePrintSettings_(printer, files));
    std::string text;
    ASSERT_TRUE(readFile(files.beside, text));
    EXPECT_EQ(text.substr(0, 20), "[Window]\r\nTop=3\r\n[St");
    EXPECT_FALSE(fileExists(files.userConfig));

    TStringsPrinter loaded;
    EXPECT_EQ(loadPrintSettings_(loaded, files), StoreLoad::Loaded);
    EXPECT_EQ(loaded.settings, printer.settings);

    // A program folder that cannot be written: the user's copy is written
    // and read from then on.
    const PrintSettingsFiles elsewhere{folder.path("nowhere/zelprint.ini"), files.userConfig};
    printer.settings.setColumnCount(3);
    ASSERT_TRUE(savePrintSettings_(printer, elsewhere));
    EXPECT_FALSE(pathExists(elsewhere.beside));
    ASSERT_TRUE(fileExists(files.userConfig));
    EXPECT_EQ(elsewhere.readPath(), files.userConfig);
    EXPECT_EQ(loadPrintSettings_(loaded, elsewhere), StoreLoad::Loaded);
    EXPECT_EQ(loaded.settings.columnCount(), 3);
    // With both present, the newer one is read.
    auto age = [&](const char* name, int hours) {
        std::filesystem::last_write_time(
            folder.osPath(name),
            std::filesystem::file_time_type::clock::now() - std::chrono::hours(hours));
    };
    age("exe/zelprint.ini", 1);
    EXPECT_EQ(files.readPath(), files.userConfig);
    age("config/zel/zelprint.ini", 2);
    EXPECT_EQ(files.readPath(), files.beside);
    ::unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace zel
