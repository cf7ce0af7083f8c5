#include "app/guidialogs.h"
