#include "object/Agents.h"

#include "object/Report.h"

namespace zel {

namespace {
constexpr std::string_view kInternetKey = "getUIInternet";
std::string boolText(bool value) {
    return value ? "true" : "false";
}
}  // namespace

bool AgentAPLAbs::isBreak_() {
    reportNotImplemented("");
    return false;
}

int AgentAPLAbs::message_(std::string_view text) {
    reportNotImplemented(text);
    return -1;
}

std::string AgentAPLAbs::query_(std::string_view key) {
    reportNotImplemented(key);
    return {};
}

int AgentAPLAbs::execute_(std::string_view text) {
    reportNotImplemented(text);
    return -1;
}

int AgentAPLAbs::notify_(std::string_view text) {
    reportNotImplemented(text);
    return -1;
}

bool AgentAPLZEL::isBreak_() {
    return mainWindow && mainWindow->isBreakRequested();
}

int AgentAPLZEL::message_(std::string_view text) {
    if (mainWindow) mainWindow->showStatus(text);
    return 0;
}

std::string AgentAPLZEL::query_(std::string_view key) {
    if (key != kInternetKey) return {};
    return boolText(mainWindow && mainWindow->internetEnabled());
}

int AgentAPLMemoNode::message_(std::string_view text) {
    if (nodeWindow) nodeWindow->showStatus(text);
    return 0;
}

std::string AgentAPLMemoNode::query_(std::string_view key) {
    if (key != kInternetKey) return {};
    MainWindowLink* main = nodeWindow ? nodeWindow->mainWindowLink() : nullptr;
    return boolText(!main || main->internetEnabled());
}

}  // namespace zel
