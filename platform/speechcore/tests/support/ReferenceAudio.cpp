#include "ReferenceAudio.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iconv.h>
#include <stdexcept>

namespace speechcore::test {

namespace {

std::string quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

std::vector<int16_t> runAndReadSamples(const std::string& command) {
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        throw std::runtime_error("cannot run: " + command);
    std::vector<int16_t> samples;
    int16_t buffer[4096];
    size_t n = 0;
    while ((n = std::fread(buffer, sizeof(int16_t), 4096, pipe)) > 0)
        samples.insert(samples.end(), buffer, buffer + n);
    if (::pclose(pipe) != 0)
        throw std::runtime_error("failed: " + command);
    return samples;
}

std::string runAndReadText(const std::string& command) {
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        throw std::runtime_error("cannot run: " + command);
    std::string text;
    char buffer[256];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        text.append(buffer, n);
    if (::pclose(pipe) != 0)
        throw std::runtime_error("failed: " + command);
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text;
}

} // namespace

std::string toGbk(const std::string& utf8) {
    iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("no GBK converter");
    std::string out(utf8.size() * 2 + 4, '\0');
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    const size_t done = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (done == static_cast<size_t>(-1))
        throw std::runtime_error("text has no GBK form");
    out.resize(out.size() - outLeft);
    return out;
}

std::vector<int16_t> decodeMulawFile(const std::filesystem::path& path) {
    return runAndReadSamples("sox -t ul -r 8000 -c 1 " + quoted(path) + " -t s16 -L -");
}

std::vector<int16_t> decodeWithSox(const std::filesystem::path& path) {
    return runAndReadSamples("sox " + quoted(path) + " -t s16 -L -r 8000 -c 1 -");
}

std::string soxFormat(const std::filesystem::path& path) {
    return runAndReadText("soxi -r " + quoted(path) + " && soxi -c " + quoted(path) +
                          " && soxi -e " + quoted(path));
}

std::vector<int16_t> espeakReference(const std::string& utf8, int rate, int amplitude,
                                     const std::filesystem::path& workDir) {
    const auto textFile = workDir / "reference.txt";
    const auto waveFile = workDir / "reference.wav";
    std::ofstream(textFile) << utf8;
    const std::string render = "espeak-ng -v cmn -s " + std::to_string(rate) + " -a " +
                               std::to_string(amplitude) + " -w " + quoted(waveFile) + " -f " +
                               quoted(textFile);
    if (std::system(render.c_str()) != 0)
        throw std::runtime_error("espeak-ng failed");
    return decodeWithSox(waveFile);
}

double rms(const std::vector<int16_t>& samples) {
    if (samples.empty())
        return 0.0;
    double sum = 0.0;
    for (const int16_t s : samples)
        sum += static_cast<double>(s) * s;
    return std::sqrt(sum / static_cast<double>(samples.size()));
}

double peakCorrelation(const std::vector<int16_t>& a, const std::vector<int16_t>& b, int maxLag) {
    const double energy = rms(a) * rms(b);
    if (energy == 0.0)
        return 0.0;
    const long n = static_cast<long>(std::min(a.size(), b.size()));
    double best = 0.0;
    for (int lag = -maxLag; lag <= maxLag; ++lag) {
        double sum = 0.0;
        for (long i = std::max(0L, static_cast<long>(-lag)); i < n && i + lag < n; ++i)
            sum += static_cast<double>(a[i]) * b[i + lag];
        best = std::max(best, sum / (static_cast<double>(n) * energy));
    }
    return best;
}

namespace {

std::vector<double> loudnessContour(const std::vector<int16_t>& samples) {
    constexpr size_t kFrame = 80;
    std::vector<double> contour;
    for (size_t at = 0; at + kFrame <= samples.size(); at += kFrame) {
        double energy = 0.0;
        for (size_t i = at; i < at + kFrame; ++i)
            energy += static_cast<double>(samples[i]) * samples[i];
        // The floor keeps silence at one level instead of minus infinity.
        contour.push_back(10.0 * std::log10(energy / kFrame + 100.0));
    }
    return contour;
}

double pearson(const std::vector<double>& a, const std::vector<double>& b, int lag) {
    double n = 0, sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
    for (long i = 0; i < static_cast<long>(a.size()); ++i) {
        const long j = i + lag;
        if (j < 0 || j >= static_cast<long>(b.size()))
            continue;
        n += 1;
        sa += a[i];
        sb += b[j];
        saa += a[i] * a[i];
        sbb += b[j] * b[j];
        sab += a[i] * b[j];
    }
    if (n < 2)
        return 0.0;
    const double cov = sab / n - (sa / n) * (sb / n);
    const double va = saa / n - (sa / n) * (sa / n);
    const double vb = sbb / n - (sb / n) * (sb / n);
    return va <= 0 || vb <= 0 ? 0.0 : cov / std::sqrt(va * vb);
}

} // namespace

double envelopeSimilarity(const std::vector<int16_t>& a, const std::vector<int16_t>& b,
                          int maxLagFrames) {
    const auto ca = loudnessContour(a);
    const auto cb = loudnessContour(b);
    double best = -1.0;
    for (int lag = -maxLagFrames; lag <= maxLagFrames; ++lag)
        best = std::max(best, pearson(ca, cb, lag));
    return best;
}

ScratchDir::ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "speechcore-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a scratch folder");
    path_ = pattern;
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

} // namespace speechcore::test
