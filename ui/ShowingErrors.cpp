#include "ui/ShowingErrors.h"

#include "ui/MessageBoxes.h"
#include "config/AppError.h"

#include <QString>
#include <exception>
#include <new>

bool runShowingErrors(const std::function<void()>& work) {
    try {
        work();
        return true;
    } catch (const AppError& e) {
        showErrorMessage(e.text());
    } catch (const std::bad_alloc&) {
        showErrorMessage(
            QStringLiteral("内存不足，操作未完成 / Out of memory; the operation was not completed"));
    } catch (const std::exception& e) {
        showErrorMessage(QString::fromUtf8(e.what()));
    } catch (...) {
        showErrorMessage(
            QStringLiteral("未知错误，操作未完成 / Unknown error; the operation was not completed"));
    }
    return false;
}
