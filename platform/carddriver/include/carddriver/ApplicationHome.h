#pragma once
#include <string>

namespace carddriver {

// The folder the program's own files live in: PANELPICK_HOME when set, else
// the folder of the running executable.
class ApplicationHome {
public:
    static std::string path();
    // `name` inside `folder`, with exactly one separator between them.
    static std::string join(const std::string& folder, const std::string& name);
};

} // namespace carddriver
