#include "elf_exports.h"

#include <elf.h>

#include <QFile>
#include <cstring>

namespace forms {

namespace {

template <class T>
bool readAt(const QByteArray& data, quint64 offset, T* out) {
  if (offset > static_cast<quint64>(data.size()) || sizeof(T) > static_cast<quint64>(data.size()) - offset) return false;
  std::memcpy(out, data.constData() + offset, sizeof(T));
  return true;
}

}  // namespace

bool exportsSymbol(const std::string& path, const std::string& symbol) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return false;
  // Control libraries are small; anything past this is not one worth a look.
  constexpr qint64 kMaxSize = 256 << 20;
  if (file.size() > kMaxSize) return false;
  const QByteArray data = file.readAll();
  Elf64_Ehdr header;
  if (!readAt(data, 0, &header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64 ||
      header.e_shentsize != sizeof(Elf64_Shdr))
    return false;
  for (quint64 i = 0; i < header.e_shnum; ++i) {
    Elf64_Shdr section;
    if (!readAt(data, header.e_shoff + i * sizeof(Elf64_Shdr), &section)) return false;
    if (section.sh_type != SHT_DYNSYM || section.sh_entsize != sizeof(Elf64_Sym)) continue;
    Elf64_Shdr strings;
    if (!readAt(data, header.e_shoff + quint64{section.sh_link} * sizeof(Elf64_Shdr), &strings)) return false;
    for (quint64 n = 0; n < section.sh_size / sizeof(Elf64_Sym); ++n) {
      Elf64_Sym sym;
      if (!readAt(data, section.sh_offset + n * sizeof(Elf64_Sym), &sym)) return false;
      if (sym.st_shndx == SHN_UNDEF || sym.st_name >= strings.sh_size) continue;
      const quint64 at = strings.sh_offset + sym.st_name;
      if (at + symbol.size() + 1 > static_cast<quint64>(data.size())) continue;
      if (std::memcmp(data.constData() + at, symbol.c_str(), symbol.size() + 1) == 0) return true;
    }
  }
  return false;
}

}  // namespace forms
