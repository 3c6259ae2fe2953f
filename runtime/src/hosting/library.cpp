#include "forms/library.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <dlfcn.h>

#include <cstdlib>
#include <map>
#include <set>

#include "forms/collection.h"
#include "forms/error.h"
#include "forms/standard_classes.h"
#include "elf_exports.h"

#ifndef FORMS_INSTALL_LIBDIR
#define FORMS_INSTALL_LIBDIR "/usr/local/lib"
#endif

namespace forms {

namespace {

struct LoadedLibrary {
  std::string path;
  const ControlLibraryEntry* entry = nullptr;
};

// Libraries stay loaded for the life of the process: their classes may be alive anywhere.
std::map<std::string, LoadedLibrary>& loaded() {
  static std::map<std::string, LoadedLibrary> m;
  return m;
}

std::string executableDir() {
  if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath().toStdString();
  return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section('/', 0, -2).toStdString();
}

// Class ids compare without case; file names on this system do not.
std::string findFileNoCase(const std::string& dir, const std::string& file) {
  const QDir folder(QString::fromStdString(dir));
  if (folder.exists(QString::fromStdString(file))) return dir + "/" + file;
  for (const QString& entry : folder.entryList({QStringLiteral("*.so")}, QDir::Files))
    if (equalsNoCase(entry.toStdString(), file)) return folder.filePath(entry).toStdString();
  return {};
}

const LoadedLibrary& loadLibrary(const std::string& libraryName, const std::string& classId) {
  const std::string key = lowerCase(libraryName);
  if (auto it = loaded().find(key); it != loaded().end()) return it->second;
  const std::string file = "lib" + libraryName + ".so";
  std::string searched;
  for (const std::string& dir : controlLibrarySearchPath()) {
    searched += (searched.empty() ? "" : ", ") + dir;
    const std::string path = findFileNoCase(dir, file);
    if (path.empty()) continue;
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
      const char* why = dlerror();
      throw Error(err::CannotCreateObject, "Cannot load control library '" + path + "' for class '" + classId +
                                               "': " + (why ? why : "unknown reason"));
    }
    auto fn = reinterpret_cast<ControlLibraryEntryFn>(dlsym(handle, FORMS_LIBRARY_ENTRY_NAME));
    const ControlLibraryEntry* entry = fn ? fn() : nullptr;
    if (!entry || !entry->library) {
      dlclose(handle);
      throw Error(err::CannotCreateObject,
                  "'" + path + "' is not a control library (no " FORMS_LIBRARY_ENTRY_NAME "), needed for class '" + classId + "'");
    }
    return loaded().emplace(key, LoadedLibrary{path, entry}).first->second;
  }
  throw Error(err::CannotCreateObject, "Control library '" + file + "' for class '" + classId + "' was not found (searched: " +
                                           searched + ")");
}

}  // namespace

std::vector<std::string> controlLibrarySearchPath() {
  std::vector<std::string> dirs{executableDir()};
  if (const char* env = std::getenv("FORMS_LIBRARY_PATH")) {
    for (const QString& d : QString::fromLocal8Bit(env).split(':', Qt::SkipEmptyParts)) dirs.push_back(d.toStdString());
  }
  dirs.emplace_back(FORMS_INSTALL_LIBDIR);
  return dirs;
}

const ControlFactory& findControlClass(const std::string& classId) {
  const auto dot = classId.find('.');
  if (dot == std::string::npos || dot == 0 || dot + 1 == classId.size())
    throw Error(err::CannotCreateObject, "Invalid class id '" + classId + "': expected Library.Class");
  const std::string libraryName = classId.substr(0, dot);
  const std::string className = classId.substr(dot + 1);
  if (isStandardLibrary(libraryName)) {
    std::string known;
    for (const std::string& id : standardClassIds()) known += (known.empty() ? "" : ", ") + id;
    throw Error(err::CannotCreateObject, isStandardClass(classId)
                                             ? "'" + classId + "' is one of the runtime's own classes, not a control library's"
                                             : "Class '" + className + "' is not one of the runtime's own classes (" + known + ")");
  }
  const LoadedLibrary& lib = loadLibrary(libraryName, classId);
  for (const ControlFactory& f : lib.entry->classes)
    if (f.typeInfo && equalsNoCase(f.typeInfo->name, className)) return f;
  throw Error(err::CannotCreateObject, "Class '" + className + "' is not in control library '" + libraryName + "' (" + lib.path + ")");
}

const LibraryInfo& controlLibraryInfo(const std::string& libraryName) {
  if (isStandardLibrary(libraryName)) return standardLibraryInfo();
  return *loadLibrary(libraryName, libraryName).entry->library;
}

std::vector<ControlLibraryListing> listControlLibraries() {
  std::vector<ControlLibraryListing> out;
  std::set<std::string> seen;  // folded names
  for (const std::string& dir : controlLibrarySearchPath()) {
    const QDir folder(QString::fromStdString(dir));
    for (const QFileInfo& file : folder.entryInfoList({QStringLiteral("lib*.so")}, QDir::Files, QDir::Name)) {
      const std::string fileName = file.fileName().toStdString();
      const std::string name = fileName.substr(3, fileName.size() - 6);
      if (name.empty() || seen.contains(lowerCase(name))) continue;
      if (!exportsSymbol(file.absoluteFilePath().toStdString(), FORMS_LIBRARY_ENTRY_NAME)) continue;
      seen.insert(lowerCase(name));
      ControlLibraryListing listing;
      listing.name = name;
      listing.path = file.absoluteFilePath().toStdString();
      try {
        const LoadedLibrary& lib = loadLibrary(name, name);
        listing.path = lib.path;
        listing.info = lib.entry->library;
        for (const ControlFactory& f : lib.entry->classes)
          if (f.typeInfo) listing.classes.push_back(f.typeInfo);
      } catch (const Error& e) {
        listing.error = e.description();
      }
      out.push_back(std::move(listing));
    }
  }
  return out;
}

}  // namespace forms
