// Outside Windows the conventions come from the program's own table: the
// C library's named locales differ from system to system and are never used.
#include "app/number_conventions.h"

number_conventions& platform_number_conventions()
{
    return table_number_conventions();
}
