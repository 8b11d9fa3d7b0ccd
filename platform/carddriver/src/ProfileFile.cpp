#include "carddriver/ProfileFile.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace carddriver {
namespace {

std::string trim(const std::string& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin])))
        ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1])))
        --end;
    return text.substr(begin, end - begin);
}

bool sameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The section name of a "[name]" line, if the line is one.
std::optional<std::string> sectionOf(const std::string& line) {
    std::string text = trim(line);
    if (text.size() < 2 || text.front() != '[')
        return std::nullopt;
    size_t close = text.find(']');
    if (close == std::string::npos)
        return std::nullopt;
    return trim(text.substr(1, close - 1));
}

// Key and value of a "key=value" line, if the line is one.
std::optional<std::pair<std::string, std::string>> entryOf(const std::string& line) {
    std::string text = trim(line);
    if (text.empty() || text[0] == ';' || text[0] == '#')
        return std::nullopt;
    size_t eq = text.find('=');
    if (eq == std::string::npos)
        return std::nullopt;
    return std::make_pair(trim(text.substr(0, eq)), trim(text.substr(eq + 1)));
}

} // namespace

bool ProfileFile::exists() const {
    struct stat info {};
    return ::stat(path_.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::vector<std::string> ProfileFile::readLines() const {
    std::vector<std::string> lines;
    std::ifstream in(path_, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::optional<std::string> ProfileFile::readText(const std::string& section,
                                                 const std::string& key) const {
    bool inSection = false;
    for (const std::string& line : readLines()) {
        if (auto name = sectionOf(line)) {
            inSection = sameName(*name, section);
            continue;
        }
        if (!inSection)
            continue;
        if (auto entry = entryOf(line); entry && sameName(entry->first, key)) {
            std::string value = entry->second;
            if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
                value = value.substr(1, value.size() - 2);
            return value;
        }
    }
    return std::nullopt;
}

std::string ProfileFile::readString(const std::string& section, const std::string& key,
                                    const std::string& fallback) const {
    return readText(section, key).value_or(fallback);
}

long long ProfileFile::readInt(const std::string& section, const std::string& key,
                               long long fallback) const {
    auto text = readText(section, key);
    if (!text)
        return fallback;
    const std::string& value = *text;
    size_t i = 0;
    bool negative = false;
    if (i < value.size() && (value[i] == '-' || value[i] == '+')) {
        negative = value[i] == '-';
        ++i;
    }
    long long result = 0;
    for (; i < value.size() && std::isdigit(static_cast<unsigned char>(value[i])); ++i) {
        result = result * 10 + (value[i] - '0');
        if (result > 0xFFFFFFFFLL)
            break;
    }
    return negative ? -result : result;
}

bool ProfileFile::writeString(const std::string& section, const std::string& key,
                              const std::string& value) const {
    std::vector<std::string> lines = readLines();
    bool inSection = false;
    bool written = false;
    std::optional<size_t> sectionEnd;
    for (size_t i = 0; i < lines.size() && !written; ++i) {
        if (auto name = sectionOf(lines[i])) {
            if (inSection)
                break;
            inSection = sameName(*name, section);
            if (inSection)
                sectionEnd = i + 1;
            continue;
        }
        if (!inSection)
            continue;
        if (auto entry = entryOf(lines[i])) {
            sectionEnd = i + 1;
            if (sameName(entry->first, key)) {
                lines[i] = entry->first + "=" + value;
                written = true;
            }
        }
    }
    if (!written) {
        if (sectionEnd) {
            lines.insert(lines.begin() + static_cast<long>(*sectionEnd), key + "=" + value);
        } else {
            lines.push_back("[" + section + "]");
            lines.push_back(key + "=" + value);
        }
    }
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    for (const std::string& line : lines)
        out << line << "\r\n";
    return static_cast<bool>(out);
}

} // namespace carddriver
