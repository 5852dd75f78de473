#pragma once
// The concrete main window created at start-up.

#include "app/TFormMainZELX13c.h"

namespace zel {

class TFormMainRegular14 : public TFormMainZELX13c {
    Q_OBJECT
  public:
    explicit TFormMainRegular14(QWidget* parent = nullptr);
};

}  // namespace zel
