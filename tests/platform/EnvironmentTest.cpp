#include "platform/Environment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>

#include "platform/FileSystem.h"
#include "support/TempFolder.h"

namespace zel {
namespace {

// Sets or unsets one variable for the scope of a test.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) saved_ = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnv() { saved_ ? ::setenv(name_, saved_->c_str(), 1) : ::unsetenv(name_); }

  private:
    const char* name_;
    std::optional<std::string> saved_;
};

TEST(Environment, TempDirectoryAlwaysEndsWithASlash) {
    {
        ScopedEnv tmp("TMPDIR", "/var/tmp");
        EXPECT_EQ(tempDirectory(), "/var/tmp/");
    }
    {
        ScopedEnv tmp("TMPDIR", "");
        EXPECT_EQ(tempDirectory(), "/tmp/");
    }
}

TEST(Environment, ExecutableDirectoryHoldsThisTest) {
    std::string dir = executableDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '/');
    EXPECT_TRUE(fileExists(dir + "platform_tests"));
}

TEST(Environment, SettingsBesideTheExecutableElseInTheXdgConfigFolder) {
    test::TempFolder exe, config;
    ScopedEnv home("HOME", "/home/someone");
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
        EXPECT_EQ(configFilePath("zel.ini", exe.path()), "/home/someone/.config/zel/zel.ini");
    }
    ScopedEnv xdg("XDG_CONFIG_HOME", config.path().c_str());
    EXPECT_EQ(configFilePath("zel.ini", exe.path()), config.path() + "/zel/zel.ini");

    std::ofstream(exe.osPath("zel.ini")) << "TempDir=\r\n";
    EXPECT_EQ(configFilePath("zel.ini", exe.path()), exe.path("zel.ini"));
    EXPECT_EQ(configFilePath("zelprint.ini", exe.path() + "/"),
              config.path() + "/zel/zelprint.ini");

    ScopedEnv relative("XDG_CONFIG_HOME", "relative/config");
    EXPECT_EQ(configFilePath("zelprint.ini", exe.path()), "/home/someone/.config/zel/zelprint.ini");
}

}  // namespace
}  // namespace zel
