#include "app/program_main.h"

int main(int argc, char** argv) {
    return zt::program_main(argc, argv);
}
