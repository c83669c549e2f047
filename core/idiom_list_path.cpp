#include <filesystem>

#include "idiom_list.h"

bool LoadIdiomList(IdiomList& list, const std::filesystem::path& file) {
    return LoadIdiomList(list, file.c_str());
}
