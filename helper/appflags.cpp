#include "helper/appflags.h"

std::atomic<bool> g_fileAdding{false};
int g_refreshCount = 0;
