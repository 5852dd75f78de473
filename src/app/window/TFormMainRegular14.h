#pragma once
// The concrete main window created at start-up.

#include "app/window/TFormMainZELX13c.h"

namespace zel {

// The window's design size; the settings file may change it.
inline constexpr int kMainWindowWidth = 592;
inline constexpr int kMainWindowHeight = 650;

class TFormMainRegular14 : public TFormMainZELX13c {
    Q_OBJECT
  public:
    explicit TFormMainRegular14(QWidget* parent = nullptr);
};

}  // namespace zel
