// The program's own fetch settings: the defaults.
#include "detect/Http.h"

HttpSettings ProgramHttpSettings() {
    return {};
}
