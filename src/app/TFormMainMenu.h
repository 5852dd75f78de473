#pragma once
// The menu layer: the tool bar panel with its switches and buttons, and the
// status bar with its three panels. Tool bar buttons run commands of the
// command table.

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <string_view>

#include "app/TFormMainScript.h"

namespace zel {

class TFormMainMenu : public TFormMainScript {
    Q_OBJECT
  public:
    explicit TFormMainMenu(QWidget* parent = nullptr);

    bool uiReadOnlySource() const override { return CheckBox_UIReadOnly->isChecked(); }
    bool internetSource() const override { return CheckBox_UIInternet->isChecked(); }
    void refreshReadOnlyIndicator() override;
    void showHolderCount() override;
    // The tool bar button that runs the command `name`; none when absent.
    QPushButton* toolButton(std::string_view name) const;

    QWidget* Panel_Tool = nullptr;
    QCheckBox* CheckBox_UIReadOnly = nullptr;
    QCheckBox* CheckBox_UIInternet = nullptr;
    QLabel* statusReadOnly = nullptr;
    QLabel* statusHolderCount = nullptr;
    QLabel* statusMessagePanel = nullptr;

  protected:
    // Places the holder frame below the tool panel.
    void setHolderFrame(QWidget* frame);
    void showMessageText(std::string_view text) override;
    void refreshColor() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPushButton* addCommandButton(std::string_view name, const char* hint);
    void buildToolPanel();
    void buildStatusBar();

    QVBoxLayout* bodyLayout_ = nullptr;
};

}  // namespace zel
