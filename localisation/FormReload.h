// Re-reading the descriptions of every open window after the resource source changed.
#pragma once

namespace attente {

void ReloadAllForms();

} // namespace attente
