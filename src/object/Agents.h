#pragma once
// The agents: how long-running model and view code asks the user interface
// whether to stop, shows progress and reads user-interface options, without
// knowing any window.

#include <string>
#include <string_view>

#include "object/TObjectNamed.h"

namespace zel {

class AgentAPLAbs : public TObjectNamed {
  public:
    explicit AgentAPLAbs(TObjectNamed* owner = nullptr) : TObjectNamed(owner) {}
    const char* className() const override { return "AgentAPLAbs"; }

    virtual bool isBreak_();
    virtual int message_(std::string_view text);
    virtual std::string query_(std::string_view key);
    // Reserved in the agent interface; no agent implements them.
    virtual int execute_(std::string_view text);
    virtual int notify_(std::string_view text);

    // Progress counter the caller increments once per item to pace its calls.
    int count = 0;
};

// What the main window offers its agent; the window implements it.
class MainWindowLink {
  public:
    virtual ~MainWindowLink() = default;
    virtual bool isBreakRequested() const = 0;
    virtual void showStatus(std::string_view text) = 0;
    virtual bool internetEnabled() const = 0;
};

// What a detached node window offers its agent.
class NodeWindowLink {
  public:
    virtual ~NodeWindowLink() = default;
    virtual void showStatus(std::string_view text) = 0;
    // The main window the node window belongs to; may be absent.
    virtual MainWindowLink* mainWindowLink() const = 0;
};

class AgentAPLZEL : public AgentAPLAbs {
  public:
    explicit AgentAPLZEL(MainWindowLink* window = nullptr) : mainWindow(window) {}
    const char* className() const override { return "AgentAPLZEL"; }
    bool isBreak_() override;
    int message_(std::string_view text) override;
    std::string query_(std::string_view key) override;

    MainWindowLink* mainWindow = nullptr;
};

class AgentAPLMemoNode : public AgentAPLAbs {
  public:
    explicit AgentAPLMemoNode(NodeWindowLink* window = nullptr) : nodeWindow(window) {}
    const char* className() const override { return "AgentAPLMemoNode"; }
    bool isBreak_() override { return false; }
    int message_(std::string_view text) override;
    std::string query_(std::string_view key) override;

    NodeWindowLink* nodeWindow = nullptr;
};

}  // namespace zel
