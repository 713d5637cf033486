// The settings record of a graph kind as a missing settings file gives it.
#pragma once

#include "app/profile_store.h"
#include "graph/graph_settings.h"
#include "graph/graph_settings_file.h"
#include "support/temp_folder.h"

inline s_graph_settings default_graph_settings(int kind)
{
    temp_folder folder;
    s_graph_settings settings{};
    load_graph_settings(settings, kind, portable_profile_store(), folder.file("missing.ini"));
    return settings;
}
