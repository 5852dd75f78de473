#include "app/AppTestSupport.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/window/TFormLog.h"
#include "model/HolderFile.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"

namespace zel {

namespace {

// The system's temporary folder, as it was before any test pointed TMPDIR
// into its own folder.
const std::string& systemTempFolder() {
    static const std::string folder = std::filesystem::temp_directory_path().string();
    return folder;
}

}  // namespace

std::string builtProgram(const std::string& name) {
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
    return (self.parent_path() / ".." / ".." / "src" / "app" / name).lexically_normal().string();
}

void AppTest::SetUp() {
    std::string pattern = systemTempFolder() + "/zel-app-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir = pattern;
    std::filesystem::create_directories(dir + "/bin");
    previousDirectory_ = std::filesystem::current_path().string();
    std::filesystem::current_path(dir);
    setenv("XDG_CONFIG_HOME", (dir + "/config").c_str(), 1);
    setenv("XDG_STATE_HOME", (dir + "/state").c_str(), 1);
    setenv("TMPDIR", dir.c_str(), 1);
}

void AppTest::TearDown() {
    window.reset();
    setenv("TMPDIR", systemTempFolder().c_str(), 1);
    std::filesystem::current_path(previousDirectory_);
    std::filesystem::remove_all(dir);
}

TFormMainRegular14& AppTest::makeWindow() {
    // One window at a time: each installs the program's report hooks.
    window.reset();
    window = std::make_unique<TFormMainRegular14>();
    window->exePath = path("bin/zel");
    auto scripted = std::make_unique<ScriptedPrompter>();
    prompter = scripted.get();
    window->setPrompter(std::move(scripted));
    window->startSecondInstance = [](const std::string& file) {
        ADD_FAILURE() << "a second instance was started for " << file;
    };
    window->endApplication = [this] { ++applicationEnds; };
    window->newMemoFile_();
    return *window;
}

void AppTest::writeText(const std::string& name, const std::string& text) const {
    std::filesystem::create_directories(std::filesystem::path(path(name)).parent_path());
    std::ofstream(path(name), std::ios::binary) << text;
}

std::string AppTest::readText(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool AppTest::exists(const std::string& name) const {
    return std::filesystem::exists(path(name));
}

void AppTest::openMemoFile(const std::vector<HolderContents>& holders) {
    writeMemoFile("memo.mxa", holders);
    makeWindow();
    ASSERT_EQ(window->_open_(path("memo.mxa")), 0);
}

MemoHolderUI* AppTest::holder(const std::string& name) const {
    return dynamic_cast<MemoHolderUI*>(window->aFile->holderByName_(name));
}

void AppTest::writeMemoFile(const std::string& name,
                            const std::vector<HolderContents>& holders) const {
    std::filesystem::create_directories(std::filesystem::path(path(name)).parent_path());
    MemoFile file;
    file.setFilename(path(name));
    for (const HolderContents& contents : holders) {
        MemoHolder* holder = file.createHolder_(-1);
        holder->putName_as_(contents.name);
        for (const std::string& nodeName : contents.nodes) {
            MemoNode* node = holder->makeNode_();
            node->putName_as_(nodeName);
            node->memo = {"memo of " + nodeName};
        }
        holder->loaded = true;
        if (!name.ends_with(".maz")) {
            ASSERT_GE(saveHolderFile_(*holder, holderFilePath_(*holder)), 0);
        }
    }
    ASSERT_GE(file.saveMemoFile_(path(name)), 0) << file.lastError();
}

std::vector<std::string> AppTest::currentNodeNames() const {
    std::vector<std::string> names;
    MemoHolder* holder = window->getCurHolder();
    for (int i = 0; holder && i < holder->count_(); ++i)
        names.push_back(holder->at_(i)->getName_());
    return names;
}

std::vector<std::string> AppTest::holderNames() const {
    std::vector<std::string> names;
    for (int i = 0; i < window->aFile->countOfHolders_(); ++i) {
        names.push_back(window->aFile->holderAt_(i)->getName_());
    }
    return names;
}

std::vector<std::string> AppTest::logLines() const {
    std::vector<std::string> lines;
    std::istringstream text(window->formLog()->logText());
    for (std::string line; std::getline(text, line);) {
        if (line.ends_with('\r')) line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool AppTest::logContains(const std::string& part) const {
    return window->formLog()->logText().find(part) != std::string::npos;
}

}  // namespace zel
