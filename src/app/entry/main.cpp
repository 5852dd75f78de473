#include "app/ZelMain.h"

int main(int argc, char** argv) {
    return zel::runZel(argc, argv);
}
