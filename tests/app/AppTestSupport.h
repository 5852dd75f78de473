#pragma once
// A fresh folder for every test (also the working directory), a main window
// whose questions are scripted, and memo files written through the model.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/ScriptedPrompter.h"
#include "app/window/TFormMainRegular14.h"
#include "views/MemoHolderUI.h"

namespace zel {

struct HolderContents {
    std::string name;
    std::vector<std::string> nodes;
};

// The program `name` ("zel") of this build, beside the test binary's folder.
std::string builtProgram(const std::string& name);

class AppTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A window started as the program starts it, before settings and the
    // start-up open; its executable lies in bin/ of the test folder.
    TFormMainRegular14& makeWindow();

    std::string path(const std::string& name) const { return dir + "/" + name; }
    void writeText(const std::string& name, const std::string& text) const;
    std::string readText(const std::string& name) const;
    bool exists(const std::string& name) const;
    // A memo file (.mxa with its holder files, or a .maz container) at `name`.
    void writeMemoFile(const std::string& name, const std::vector<HolderContents>& holders) const;
    // A window showing a memo file "memo.mxa" of `holders`.
    void openMemoFile(const std::vector<HolderContents>& holders);
    // The holder of that name in the window's memo file (a shown holder).
    MemoHolderUI* holder(const std::string& name) const;
    // The node names of the window's current holder.
    std::vector<std::string> currentNodeNames() const;
    std::vector<std::string> holderNames() const;
    // The log window's lines.
    std::vector<std::string> logLines() const;
    bool logContains(const std::string& part) const;

    std::string dir;
    std::unique_ptr<TFormMainRegular14> window;
    ScriptedPrompter* prompter = nullptr;
    // How often the window ended the application (it never really does here).
    int applicationEnds = 0;

  private:
    std::string previousDirectory_;
};

}  // namespace zel
