#pragma once

#include <atomic>

// A test double inside the file layer: tests make the Nth file operation of
// one kind fail, as a full disk, a refused open or a failed rename would, to
// check what every writer leaves behind. Without a fault set it only counts.
namespace platform {

enum class FileOperation { Open, Write, Rename, kCount };

class FileFaults {
public:
    // The nth operation of kind op from now on (counting from 1) fails; every
    // count starts again at 0. n = 0 fails nothing.
    static void FailNth(FileOperation op, int n) {
        for (auto& c : State().count)
            c = 0;
        State().failKind = static_cast<int>(op);
        State().failAt = n;
    }

    // No failures; every count starts again at 0.
    static void Reset() { FailNth(FileOperation::Open, 0); }

    // The operations of kind op since the last FailNth or Reset.
    static int Count(FileOperation op) { return State().count[static_cast<int>(op)]; }

    // Called by the file layer before each operation; false when this one is
    // to fail.
    static bool Allow(FileOperation op) {
        const int kind = static_cast<int>(op);
        const int number = ++State().count[kind];
        return !(State().failKind == kind && State().failAt == number);
    }

private:
    struct Counters {
        std::atomic<int> count[static_cast<int>(FileOperation::kCount)] = {};
        std::atomic<int> failKind{0};
        std::atomic<int> failAt{0};
    };
    static Counters& State() {
        static Counters counters;
        return counters;
    }
};

} // namespace platform
