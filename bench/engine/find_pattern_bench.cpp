// Times FindPattern over a 16,000,000-byte text, with match case on and off,
// against memmem in the same run, and prints the ratios.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "engine/text_search.h"

namespace {

constexpr std::size_t kTextSize = 16000000;

std::string MakeHtmlText() {
    static const char* words[] = {"pump", "water", "the", "garden", "hose", "level", "frost",
                                  "Drain", "before", "handle", "metres", "of", "and", "Keep"};
    std::mt19937 random(7);
    std::string text;
    text.reserve(kTextSize + 256);
    int paragraph = 0;
    while (text.size() < kTextSize) {
        if (paragraph % 40 == 0) text += "<H2>Section " + std::to_string(paragraph / 40) + "</H2>\r\n";
        text += "<P>" + std::to_string(paragraph % 9 + 1) + ". ";
        for (int w = 0; w < 30; ++w) {
            if (w == 12) text += "<B>";
            text += words[random() % 14];
            if (w == 14) text += "</B>";
            text += ' ';
        }
        text += "</P>\r\n<!-- note -->\r\n";
        ++paragraph;
    }
    text.resize(kTextSize);
    return text;
}

template <typename F>
double BestSeconds(F&& work, std::size_t& count) {
    double best = 1e9;
    for (int round = 0; round < 5; ++round) {
        const auto start = std::chrono::steady_clock::now();
        count = work();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

std::size_t CountMemmem(const std::string& text, const std::string& pattern) {
    std::size_t count = 0;
    const char* at = text.data();
    const char* end = text.data() + text.size();
    while (const void* hit = memmem(at, end - at, pattern.data(), pattern.size())) {
        ++count;
        at = static_cast<const char*>(hit) + 1;
    }
    return count;
}

std::size_t CountFindPattern(const std::string& text, const webquill::CPatternSearcher& searcher) {
    std::size_t count = 0;
    for (std::size_t at = searcher.Find(text, 0); at != webquill::kNotFound;
         at = searcher.Find(text, at + 1))
        ++count;
    return count;
}

}  // namespace

int main() {
    const std::string text = MakeHtmlText();
    const std::vector<std::string> patterns = {"<H2>", "</B>", "<!-- note -->", "frost before",
                                               "Section 4000<", "x"};
    std::printf("text: %zu bytes\n", text.size());
    std::printf("%-16s %9s %12s %12s %12s %9s %9s\n", "pattern", "hits", "memmem ms", "case ms",
                "blind ms", "case x", "blind x");
    double worst = 0;
    for (const std::string& pattern : patterns) {
        std::size_t memmemHits = 0, caseHits = 0, blindHits = 0;
        const double m = BestSeconds([&] { return CountMemmem(text, pattern); }, memmemHits);
        const webquill::CPatternSearcher exact(pattern, true);
        const double c = BestSeconds([&] { return CountFindPattern(text, exact); }, caseHits);
        const webquill::CPatternSearcher blind(pattern, false);
        const double b = BestSeconds([&] { return CountFindPattern(text, blind); }, blindHits);
        if (memmemHits != caseHits) {
            std::printf("MISMATCH for %s: memmem %zu, FindPattern %zu\n", pattern.c_str(),
                        memmemHits, caseHits);
            return 1;
        }
        worst = std::max(worst, b / m);
        std::printf("%-16s %9zu %12.2f %12.2f %12.2f %9.2f %9.2f\n", pattern.c_str(), memmemHits,
                    m * 1e3, c * 1e3, b * 1e3, c / m, b / m);
    }
    std::printf("worst case-blind ratio to memmem: %.2f\n", worst);
    return 0;
}
