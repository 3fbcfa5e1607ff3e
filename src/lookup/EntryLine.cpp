#include "EntryLine.h"

namespace qb {

std::vector<std::u16string_view> splitFields(std::u16string_view line) {
    std::vector<std::u16string_view> fields;
    if (line.empty()) return fields;
    size_t start = 0;
    for (;;) {
        const size_t eq = line.find(u'=', start);
        if (eq == std::u16string_view::npos) {
            fields.push_back(line.substr(start));
            return fields;
        }
        fields.push_back(line.substr(start, eq - start));
        start = eq + 1;
    }
}

void appendDisplayForm(std::u16string_view line, std::u16string& out) {
    int shown = 0;
    for (std::u16string_view field : splitFields(line)) {
        if (shown == 2) break;
        out += kLineBreak;
        out += field;
        ++shown;
    }
    out += kLineBreak;
}

std::u16string displayForm(std::u16string_view line) {
    std::u16string out;
    appendDisplayForm(line, out);
    return out;
}

}  // namespace qb
