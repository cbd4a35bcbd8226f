// The chaptered manual that the whole-run benchmarks publish: chapters of
// about 3,800 bytes between page markers, header, footer and TOC templates
// full of variables, and the rule file that cuts it into some 4,200 pages.
#pragma once

#include <filesystem>
#include <random>
#include <string>

#include "bench/engine/bench_support.h"

namespace webquill::bench {

inline constexpr std::size_t kSourceSize = 16000000;
inline constexpr const char* kPageStart = "<!-- page -->";
inline constexpr const char* kPageEnd = "<!-- /page -->";

// Chapters of about 3,800 bytes, each between the page markers and opened by
// its heading, so MakeFile and MakeTOC find one page and one entry apiece.
inline std::string MakeChapteredManual(std::size_t size, int paragraphs = 40) {
    static const char* words[] = {"pump", "water", "the", "garden", "hose", "level", "frost",
                                  "drain", "before", "handle", "valve", "of", "and", "seal"};
    std::mt19937 random(7);
    auto word = [&] { return std::string(words[random() % 14]); };
    std::string text = "<HTML>\r\n<HEAD><TITLE>Garden Pump Manual</TITLE></HEAD>\r\n<BODY>\r\n";
    const std::string closing = "</BODY>\r\n</HTML>\r\n";
    const std::size_t chapterRoom = 200 * static_cast<std::size_t>(paragraphs);
    for (int chapter = 1; text.size() + chapterRoom + closing.size() < size; ++chapter) {
        text += std::string(kPageStart) + "\r\n<H2>" + std::to_string(chapter) + ". Chapter " +
                std::to_string(chapter) + "</H2>\r\n";
        for (int paragraph = 1; paragraph <= paragraphs; ++paragraph)
            text += "<P>" + std::to_string(paragraph) + ". " + word() + " <B>" + word() + "</B> " + word() +
                    " " + word() + " " + word() + " <I>" + word() + "</I> " + word() + " " + word() +
                    " " + word() + " " + word() + " " + word() + " " + word() + ".</P>\r\n";
        text += std::string(kPageEnd) + "\r\n";
    }
    text += closing;
    text.insert(text.size() - closing.size(), std::string(size - text.size(), ' '));
    return text;
}

inline constexpr const char* kHeader =
    "<HTML>\r\n<HEAD><TITLE>%%Title%%: %%ThisTOCInfo%%</TITLE></HEAD>\r\n<BODY>\r\n"
    "<P><A HREF=\"%%PrevTOCFile%%\">%%PrevTOCInfo%%</A> | <A HREF=\"%%TOCFile%%\">Contents</A> | "
    "<A HREF=\"%%NextTOCFile%%\">%%NextTOCInfo%%</A></P>\r\n";
inline constexpr const char* kFooter =
    "<P><A HREF=\"%%PrevTOCFile%%\">%%PrevTOCInfo%%</A> | <A HREF=\"%%NextTOCFile%%\">%%NextTOCInfo%%</A></P>\r\n"
    "<P>%%Title%%, page %%ThisTOCFile%%, published %%sysdate%% at %%systime%%.</P>\r\n</BODY>\r\n</HTML>\r\n";
inline constexpr const char* kTocTemplate =
    "<HTML>\r\n<HEAD><TITLE>%%Title%%</TITLE></HEAD>\r\n<BODY>\r\n<H1>%%Title%%</H1>\r\n<OL>\r\n"
    "<LI><A HREF=\"%%ThisTOCFile%%\">%%TOCline%%</A></LI>\r\n</OL>\r\n</BODY>\r\n</HTML>\r\n";

inline std::string RuleFile() {
    return std::string("&Header:\r\nDocument: manual.htm\r\nWWWFileName: site/page.htm\r\n") +
           "IntermediateFile: edited.htm\r\nTOCName: site/index.htm\r\nTOCTemplate: contents.htm\r\n"
           "HeaderName: header.htm\r\nFooterName: footer.htm\r\n&Commands:\r\n"
           "Extract<TITLE>!...!</TITLE>!save as!Title\r\nMakeTOC<H2>!...!</H2>\r\n"
           "MakeFile" + kPageStart + "!...!" + kPageEnd + "\r\n";
}

// Writes the manual, the templates and "run.rul" into `dir`; returns the
// manual's size.
inline std::size_t WriteChapteredSite(const std::filesystem::path& dir) {
    const std::string manual = MakeChapteredManual(kSourceSize);
    WriteBytes(dir / "manual.htm", manual);
    WriteBytes(dir / "header.htm", kHeader);
    WriteBytes(dir / "footer.htm", kFooter);
    WriteBytes(dir / "contents.htm", kTocTemplate);
    WriteBytes(dir / "run.rul", RuleFile());
    return manual.size();
}

}  // namespace webquill::bench
