// Reading and writing an impedance graph's settings file (one per graph
// kind, in the settings folder: "lcr_bode_settings.ini",
// "lcr_nyquist_settings.ini", "lcr_eis_settings.ini").
//
// Loading sets every field of the record: a missing file or key gives the
// kind's default, an integer or boolean key is read as the profile functions
// read integers (any non-zero integer is true), and Min and Max are read as
// text of at most 254 characters with parse_eng (text it cannot read fully
// gives the value of the part it read). Saving writes every key in the
// file's order; a file that cannot be written is not reported, and the file
// is written only by an explicit save, never by a change of view.
#pragma once

#include <string>

#include "graph/graph_settings.h"

class profile_store;

// The settings file named by file, through store.
void load_graph_settings(s_graph_settings& record, int kind, profile_store& store, const std::string& file);
void save_graph_settings(const s_graph_settings& record, int kind, profile_store& store,
                         const std::string& file);

// The kind's file in the program's settings folder, through the platform's
// profile store. Without a settings folder (or for an unknown kind) loading
// gives the defaults and saving writes nothing.
void load_graph_settings(s_graph_settings& record, int kind);
void save_graph_settings(const s_graph_settings& record, int kind);
