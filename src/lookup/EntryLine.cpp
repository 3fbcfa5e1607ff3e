#include "lookup/EntryLine.h"

namespace qb {

std::vector<std::u16string_view> splitFields(std::u16string_view line) {
    std::vector<std::u16string_view> fields;
    forEachField(line, [&](std::u16string_view field) {
        fields.push_back(field);
        return true;
    });
    return fields;
}

void appendDisplayForm(std::u16string_view line, std::u16string& out) {
    forEachDisplayPiece(line, [&](std::u16string_view piece) { out += piece; });
}

std::u16string displayForm(std::u16string_view line) {
    std::u16string out;
    appendDisplayForm(line, out);
    return out;
}

}  // namespace qb
