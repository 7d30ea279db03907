// Keeps lists in the folder given, one after another, until it is killed; with
// "hold" it keeps one list and waits. State k is KeptListTestState(k).
#include "KeptList.h"
#include "KeptListTestState.h"

#include <string_view>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    vx::KeptListFile file(argv[1]);
    if (argc > 2 && std::string_view(argv[2]) == "hold") {
        file.Save(vxtest::KeptListTestState(1));
        file.WaitUntilWritten();
        for (;;)
            pause();
    }
    for (int k = 1;; ++k) {
        file.Save(vxtest::KeptListTestState(k));
        file.WaitUntilWritten();
    }
}
