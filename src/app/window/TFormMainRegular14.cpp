#include "app/window/TFormMainRegular14.h"

namespace zel {

TFormMainRegular14::TFormMainRegular14(QWidget* parent) : TFormMainZELX13c(parent) {
    resize(kMainWindowWidth, kMainWindowHeight);
}

}  // namespace zel
