#include "app/options.h"

#include <cstring>

int optDepthBuffer = 0;
int optNormalize = 0;
int optSilent = 0;

void scanOptions(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (arg[0] != '/' || std::strlen(arg) != 2) {
            continue;
        }
        switch (arg[1]) {
        case 'd':
            optDepthBuffer = 1;
            break;
        case 'n':
            optNormalize = 1;
            break;
        case 's':
            optSilent = 1;
            break;
        default:
            break;
        }
    }
}
