// A base header that includes the application layer: the one fault the layer check must name.
#pragma once
#include "apps/client_apps.h"
