#pragma once
// The command layer: every command of the window is a member under its
// described name (CommandTable.h lists them), plus the exchange between the
// node editor and the current node, and the window caption.

#include <string>
#include <string_view>

#include "app/TFormMainBaseZEL.h"

namespace zel {

class TFormMainScript : public TFormMainBaseZEL {
    Q_OBJECT
  public:
    explicit TFormMainScript(QWidget* parent = nullptr) : TFormMainBaseZEL(parent) {}

    int UI2Model() override;
    void Model2UI() override;
    void setCaption_() override;
    // The title the desktop shows for the application (task bar, icons).
    const std::string& applicationTitle() const { return applicationTitle_; }
    void setApplicationTitle(std::string_view title);

    // Commands.
    int UINewNode();
    // Writes the node editor back and saves the current holder to its own
    // file ("SAVE"); the size written, or a negative code.
    long long UISaveHolderNoMSG();
    long long UISaveHolder();
    // The current node in a node window of its own, or in a read-only one.
    int UIShowOtherWindow();
    int UIShowReadWindow();
    int UIShowVersion();
    int UIShowLog();
    int UIShowAbout();

  protected:
    // The tool bar's colour follows the memo file's Color field.
    virtual void refreshColor() {}

  private:
    int showNodeWindow(bool readOnly);

    std::string applicationTitle_;
};

}  // namespace zel
