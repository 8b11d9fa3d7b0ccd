#pragma once
#include <optional>
#include <string>
#include <vector>

namespace carddriver {

// An INI file read and written the way private-profile files are: sections
// and keys match without regard to case, every read goes to the file, and a
// write keeps every other line of the file as it was.
class ProfileFile {
public:
    explicit ProfileFile(std::string path) : path_(std::move(path)) {}

    const std::string& path() const { return path_; }
    bool exists() const;
    // The text of the key (surrounding blanks and one pair of quotes removed), if present.
    std::optional<std::string> readText(const std::string& section, const std::string& key) const;
    std::string readString(const std::string& section, const std::string& key,
                           const std::string& fallback) const;
    // Integer reading: an absent key gives the fallback, text that does not
    // start with a number gives 0, reading stops at the first non-digit.
    long long readInt(const std::string& section, const std::string& key, long long fallback) const;
    bool writeString(const std::string& section, const std::string& key,
                     const std::string& value) const;

private:
    std::vector<std::string> readLines() const;
    std::string path_;
};

} // namespace carddriver
