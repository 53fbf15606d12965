// The finaliser stack behind shutdown.
#include "Lifecycle.h"

#include <vector>

namespace attente {

namespace {

std::vector<TFinaliser>& Finalisers() {
    static std::vector<TFinaliser> finalisers;
    return finalisers;
}

} // namespace

void AtShutdown(TFinaliser finaliser) {
    Finalisers().push_back(finaliser);
}

void Shutdown() {
    std::vector<TFinaliser>& finalisers = Finalisers();
    while (!finalisers.empty()) {
        const TFinaliser finaliser = finalisers.back();
        finalisers.pop_back();
        try {
            finaliser();
        } catch (...) {
            // Shutdown goes on: the later finalisers release what the earlier start-up steps hold.
        }
    }
}

void ExitApplication(UINT exitCode) {
    Shutdown();
    ExitProcess(exitCode);
}

} // namespace attente
