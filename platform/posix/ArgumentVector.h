#pragma once

#include <string>
#include <vector>

namespace platform::posix {

// argv for exec: the program, its arguments and the closing null. Built before
// any fork, so that the child only calls exec; the strings must outlive it.
inline std::vector<char*> ArgumentVector(const std::string& program,
                                         const std::vector<std::string>& args) {
    std::vector<char*> argv;
    argv.reserve(args.size() + 2);
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    return argv;
}

} // namespace platform::posix
