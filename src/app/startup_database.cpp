#include "app/startup_database.h"

// The test database is not part of the program yet: nothing to open.
void startup_choose_database() {}
