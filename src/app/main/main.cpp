#include "app/main/RondelixApp.h"

int main(int argc, char** argv) {
    return rondelix::RondelixApp::run(argc, argv);
}
