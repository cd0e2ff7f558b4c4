// Feeds arbitrary text to the settings-text reader and to the form's "apply" path.
// A failed read must leave the record and the form untouched; a successful one must
// give a record that can be written and read back.
#include "app/settings/SettingsForm.h"
#include "settings/DefaultSettings.h"
#include "settings/SettingsText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace tavisto;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    // Start from the built-in defaults, as the program does.
    TDisplayInfo defaults{};
    std::string message;
    if (!ReadSettingsText(DefaultSettingsText(), defaults, message))
        std::abort();

    TDisplayInfo info = defaults;
    const std::string before = WriteSettingsText(info);
    if (!ReadSettingsText(text, info, message)) {
        if (message.empty() || WriteSettingsText(info) != before)
            std::abort();
    } else {
        const std::string written = WriteSettingsText(info);
        TDisplayInfo again{};
        if (!ReadSettingsText(written, again, message) || WriteSettingsText(again) != written)
            std::abort();
    }

    TSettingsForm form;
    TDisplayInfo formInfo = defaults;
    const TSettingsForm formBefore = form;
    std::string applyMessage;
    if (!ApplySettingsText(text, form, formInfo, applyMessage) && !(form == formBefore))
        std::abort();
    return 0;
}
