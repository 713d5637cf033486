// Choosing the test database while the main window is created: the database
// remembered in the settings file, or else the default database in the
// working directory.
#pragma once

void startup_choose_database();
