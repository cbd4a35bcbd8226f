// The saved-log reader on fuzzed files, read in blocks of a fuzzed size so
// that lines cross block ends.
#include <cstdlib>

#include "fuzz/fuzz_support.h"
#include "core/shell/quillet_doc.h"
#include "platform/storage/settings_store.h"

using namespace webquill;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    static const bool configured = [] {
        ::setenv("XDG_CONFIG_HOME", (fuzz::WorkFolder() / "config").c_str(), 1);
        return true;
    }();
    (void)configured;
    fuzz::WriteFile("log.prl", std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
    CSettingsStore store;
    CQuilletDoc document(store);
    document.SetSavedLogBlockSize(1 + data[0] % 64);
    document.OpenSavedLog((fuzz::WorkFolder() / "log.prl").string(), false, nullptr);
    return 0;
}
