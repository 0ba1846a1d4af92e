// The seed maker: writes small real files for every fuzz target, so that a
// run starts deep inside the readers instead of rediscovering each format's
// signature and headers byte by byte.
#include <errno.h>
#include <stdio.h>
#include <sys/stat.h>

#include "seed_writer.h"

namespace {

void MakeFolder(const std::string& path)
{
    if (mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) perror(path.c_str());
}

}  // namespace

void WriteSeed(const std::string& root, const std::string& target, const std::string& name, const Bytes& bytes)
{
    MakeFolder(root);
    MakeFolder(root + "/" + target);
    const std::string path = root + "/" + target + "/" + name;
    FILE* f = fopen(path.c_str(), "wb");
    if (!f || fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) perror(path.c_str());
    if (f) fclose(f);
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: %s <seed folder>\n", argv[0]);
        return 2;
    }
    const std::string root = argv[1];
    WritePictureSeeds(root);
    WriteAviSeeds(root);
    WriteMetafileSeeds(root);
    WriteOperationSeeds(root);
    WriteFontSeeds(root);
    return 0;
}
