// The catch-all of callbacks: see handleexception.h.
#include "handleexception.h"

#include <exception>

#include "application.h"

void HandleCallbackException() noexcept
{
    if (!std::current_exception()) return;
    if (Application) {
        Application->HandleException(nullptr);
        return;
    }
    try {
        throw;
    } catch (const EAbort&) {
    } catch (const std::exception& e) {
        OutputDebugStringA(e.what());
    } catch (...) {
        OutputDebugStringA("Unknown exception in a callback");
    }
}
