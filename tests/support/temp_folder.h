#pragma once

#include <string>

// A fresh folder under /tmp, removed with everything in it when the object goes.
class temp_folder {
public:
    temp_folder();
    ~temp_folder();
    temp_folder(const temp_folder&) = delete;
    temp_folder& operator=(const temp_folder&) = delete;

    const std::string& path() const { return dir; }
    std::wstring wpath() const { return std::wstring(dir.begin(), dir.end()); }
    std::string file(const std::string& name) const { return dir + "/" + name; }
    void write(const std::string& name, const std::string& content) const;
    std::string read(const std::string& name) const;
    bool exists(const std::string& name) const;

private:
    std::string dir;
};
