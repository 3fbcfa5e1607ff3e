#include "lookup/BaseForms.h"

#include <algorithm>

#include "lookup/IrregularForms.h"
#include "lookup/TextMatch.h"

namespace qb {

namespace {

bool isVowel(char16_t c) {
    return c == u'a' || c == u'e' || c == u'i' || c == u'o' || c == u'u';
}

bool isConsonant(char16_t c) {
    return c >= u'a' && c <= u'z' && !isVowel(c);
}

// Every English word has one, "y" counted.
bool hasVowel(std::u16string_view word) {
    return std::any_of(word.begin(), word.end(),
                       [](char16_t c) { return isVowel(c) || c == u'y'; });
}

bool endsWith(std::u16string_view word, std::u16string_view ending) {
    return word.size() > ending.size() && word.ends_with(ending);
}

// The candidates in order, each once; never the word itself, nor what cannot be a word.
class Forms {
  public:
    explicit Forms(std::u16string word) : word_(std::move(word)) {}

    void add(std::u16string form) {
        if (form.size() < 2 || !hasVowel(form) || form == word_ ||
            std::find(forms_.begin(), forms_.end(), form) != forms_.end())
            return;
        forms_.push_back(std::move(form));
    }
    std::vector<std::u16string> take() { return std::move(forms_); }

  private:
    std::u16string word_;
    std::vector<std::u16string> forms_;
};

// The record of `form` in the table of irregular forms, empty when it has none.
std::string_view irregularRecord(std::string_view form) {
    const std::string_view table = kIrregularForms;
    size_t lo = 0, hi = table.size();  // both at the start of a record
    while (lo < hi) {
        const size_t mid = lo + (hi - lo) / 2;
        const size_t start = mid == lo ? lo : table.rfind('\n', mid - 1) + 1;
        const size_t end = table.find('\n', start);
        const std::string_view record = table.substr(start, end - start);
        const std::string_view key = record.substr(0, record.find('\t'));
        if (key == form) return record;
        if (key < form)
            lo = end + 1;
        else
            hi = start;
    }
    return {};
}

void addIrregular(const std::u16string& word, Forms& forms) {
    std::string form;
    for (const char16_t c : word) {
        if (c >= 0x80) return;  // the lists are ASCII
        form += static_cast<char>(c);
    }
    const std::string_view record = irregularRecord(form);
    if (record.empty()) return;
    size_t at = record.find('\t');
    while (at != std::string_view::npos) {
        const size_t next = record.find('\t', at + 1);
        const std::string_view encoded = record.substr(at + 1, next - at - 1);
        const size_t shared = static_cast<size_t>(encoded[0] - '0');
        std::u16string base = word.substr(0, shared);
        for (const char c : encoded.substr(1)) base += static_cast<char16_t>(c);
        forms.add(std::move(base));
        at = next;
    }
}

// -ed, -ing, -er, -est: what comes before the ending, given without it.
void addUndone(const std::u16string& stem, Forms& forms) {
    if (!hasVowel(stem)) return;  // "sing" is no "s" with an ending
    const size_t n = stem.size();
    const bool vowelThenConsonant =
        n >= 2 && isConsonant(stem[n - 1]) &&
        std::u16string_view(u"wxy").find(stem[n - 1]) == std::u16string_view::npos &&
        isVowel(stem[n - 2]) && (n < 3 || !isVowel(stem[n - 3]));
    const bool doubled = n >= 3 && stem[n - 1] == stem[n - 2] && isConsonant(stem[n - 1]);
    if (vowelThenConsonant) forms.add(stem + u'e');
    forms.add(stem);
    if (doubled) forms.add(stem.substr(0, n - 1));
    if (!vowelThenConsonant && !stem.ends_with(u"ee")) forms.add(stem + u'e');
}

// `ending` is one of "ed", "er", "est"; its "i" form ("ied") stands for a "y".
void addUndoneWithY(const std::u16string& word, std::u16string_view ending, Forms& forms) {
    const size_t stemSize = word.size() - ending.size();
    if (stemSize >= 3 && word[stemSize - 1] == u'i') forms.add(word.substr(0, stemSize - 1) + u'y');
    addUndone(word.substr(0, stemSize), forms);
}

void addRegular(const std::u16string& word, Forms& forms) {
    const size_t n = word.size();
    if (endsWith(word, u"s") && !endsWith(word, u"ss")) {
        if (endsWith(word, u"ies") && n - 3 >= 2) forms.add(word.substr(0, n - 3) + u'y');
        const std::u16string_view stem(word.data(), n - 2);
        const bool takesEs =
            endsWith(word, u"es") &&
            (stem.ends_with(u"ss") || stem.ends_with(u"x") || stem.ends_with(u"z") ||
             stem.ends_with(u"ch") || stem.ends_with(u"sh"));
        if (takesEs) forms.add(word.substr(0, n - 2));
        forms.add(word.substr(0, n - 1));
        if (endsWith(word, u"es")) forms.add(word.substr(0, n - 2));
    } else if (endsWith(word, u"ed")) {
        addUndoneWithY(word, u"ed", forms);
    } else if (endsWith(word, u"ing")) {
        addUndone(word.substr(0, n - 3), forms);
        if (endsWith(word, u"ying")) forms.add(word.substr(0, n - 4) + u"ie");
    } else if (endsWith(word, u"est")) {
        addUndoneWithY(word, u"est", forms);
    } else if (endsWith(word, u"er")) {
        addUndoneWithY(word, u"er", forms);
    }
}

void addBaseForms(const std::u16string& word, Forms& forms) {
    std::u16string stem;
    if (endsWith(word, u"'s"))
        stem = word.substr(0, word.size() - 2);
    else if (endsWith(word, u"s'"))
        stem = word.substr(0, word.size() - 1);
    // A possessive's word is an inflected form itself: the irregular forms come first there
    // too ("children's" child, then children).
    const std::u16string& inflected = stem.empty() ? word : stem;
    addIrregular(inflected, forms);
    if (!stem.empty()) forms.add(stem);
    addRegular(inflected, forms);
}

}  // namespace

std::vector<std::u16string> baseForms(std::u16string_view word) {
    std::u16string lowered = toLower(word);
    std::replace(lowered.begin(), lowered.end(), u'\u2019', u'\'');
    Forms forms(lowered);
    addBaseForms(lowered, forms);
    return forms.take();
}

}  // namespace qb
