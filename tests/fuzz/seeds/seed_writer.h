// The seed files the build writes for the fuzz targets: one folder per
// target under the root given to the seed maker, small files in each.
#ifndef KESTREL_FUZZ_SEED_WRITER_H
#define KESTREL_FUZZ_SEED_WRITER_H

#include <stdint.h>

#include <string>
#include <vector>

typedef std::vector<unsigned char> Bytes;

// Writes bytes as root/target/name, making the folders it needs.
void WriteSeed(const std::string& root, const std::string& target, const std::string& name, const Bytes& bytes);

inline void PutLE16(Bytes& b, unsigned v)
{
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}

inline void PutLE32(Bytes& b, uint32_t v)
{
    PutLE16(b, v & 0xFFFF);
    PutLE16(b, v >> 16);
}

inline void PutTag(Bytes& b, const char* tag) { b.insert(b.end(), tag, tag + 4); }

inline void PutZeros(Bytes& b, size_t n) { b.insert(b.end(), n, 0); }

inline void SetLE32(Bytes& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

// The seeds of each family of targets.
void WritePictureSeeds(const std::string& root);
void WriteAviSeeds(const std::string& root);
void WriteMetafileSeeds(const std::string& root);
void WriteOperationSeeds(const std::string& root);
void WriteFontSeeds(const std::string& root);

#endif
