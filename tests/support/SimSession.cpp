#include "support/SimSession.h"
