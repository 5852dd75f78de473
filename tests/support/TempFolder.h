#pragma once
// A fresh folder under the system temporary directory, removed with all its
// contents when the test ends. Paths it hands out are model (Shift_JIS) paths.

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "text/Sjis.h"

namespace zel::test {

class TempFolder {
  public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zel-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        root_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder itself, without a trailing "/".
    std::string path() const { return utf8ToSjis(root_.string()); }
    // A model path inside the folder; `name` is Shift_JIS.
    std::string path(std::string_view name) const { return path() + "/" + std::string(name); }
    // The same path as the operating system spells it, for checks by std::filesystem.
    std::filesystem::path osPath(std::string_view name) const { return root_ / sjisToUtf8(name); }

  private:
    std::filesystem::path root_;
};

}  // namespace zel::test
