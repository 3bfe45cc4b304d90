#pragma once

#include <QString>

// The language the console speaks: which texts of config.xml it shows (the CN or EN
// attributes) and which built-in texts. A value passed to whatever words a text, so that
// nothing asks a global flag and a text can be worded in either language at any time.
class Language {
public:
    enum class Id { Chinese, English };

    constexpr Language() = default;
    constexpr explicit Language(Id id) : m_id(id) {}

    static constexpr Language chinese() { return Language(Id::Chinese); }
    static constexpr Language english() { return Language(Id::English); }
    // config.xml's LANGUAGE value: "EN" is English, anything else Chinese (the file's default).
    static Language fromCode(const QString& code);
    // A locale name as the desktop gives it (LANG, "zh_CN.UTF-8", "en_US"): Chinese for
    // any "zh", English for everything else.
    static Language fromLocaleName(const QString& name);

    Id id() const { return m_id; }
    bool isEnglish() const { return m_id == Id::English; }
    // The code config.xml stores and its attributes end in: "CN" or "EN".
    QString code() const;
    // The Qt locale name of the language's translations: "zh_CN" or "en".
    QString localeName() const;

    // A built-in text in this language. source is the English text (as written in the code, so
    // that lupdate finds the call), n a count for texts with plural forms ("%n" in source).
    // A text without a translation shows its English source.
    QString translate(const char* context, const char* source, const char* disambiguation = nullptr,
                      int n = -1) const;

    friend bool operator==(Language a, Language b) { return a.m_id == b.m_id; }
    friend bool operator!=(Language a, Language b) { return a.m_id != b.m_id; }

private:
    Id m_id = Id::Chinese;
};
