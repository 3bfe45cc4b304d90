#include "ui/ShowingErrors.h"

#include "config/AppError.h"
#include "ui/MessageBoxes.h"

#include <QString>
#include <exception>
#include <new>

namespace {

// A text of this file in the language given, or in both (Chinese first) without one.
QString worded(const std::optional<Language>& language, const char* source) {
    if (language)
        return language->translate("ShowingErrors", source);
    return Language::chinese().translate("ShowingErrors", source) + QStringLiteral(" / ") +
           Language::english().translate("ShowingErrors", source);
}

} // namespace

bool runShowingErrors(const std::function<void()>& work, std::optional<Language> language) {
    try {
        work();
        return true;
    } catch (const AppError& e) {
        showErrorMessage(language ? e.textIn(*language) : e.text());
    } catch (const std::bad_alloc&) {
        showErrorMessage(worded(
            language, QT_TRANSLATE_NOOP("ShowingErrors", "Out of memory; the operation was not completed")));
    } catch (const std::exception& e) {
        showErrorMessage(QString::fromUtf8(e.what()));
    } catch (...) {
        showErrorMessage(worded(
            language, QT_TRANSLATE_NOOP("ShowingErrors", "Unknown error; the operation was not completed")));
    }
    return false;
}
