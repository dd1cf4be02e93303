// Holds a folder's lock as a copy of Hangar does, in a process of its own that a test can kill:
//   lock_holder FOLDER SECONDS
// says "held" once it holds it, and lets go when it exits.
#include "KernelLock.h"

#include <QString>
#include <QThread>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    if (argc != 3)
        return 2;
    KernelLock lock = KernelLock::ofFolder(QString::fromLocal8Bit(argv[1]));
    if (lock.tryLock() != KernelLock::Attempt::Taken) {
        std::fprintf(stderr, "lock_holder: not taken: %s\n", qPrintable(lock.error()));
        return 1;
    }
    std::puts("held");
    std::fflush(stdout);
    QThread::sleep(std::strtoul(argv[2], nullptr, 10));
    return 0;
}
