// The class registry: a fixed list of the framework's classes and the ones registered at run time.
#include "ClassRegistry.h"

#include "Image.h"
#include "Label.h"
#include "PropertyValue.h"

#include <algorithm>
#include <vector>

namespace attente {

namespace {

const TClassInfo* const kBuiltInClasses[] = {&TLabel::StaticClassInfo, &TImage::StaticClassInfo};

std::vector<const TClassInfo*>& RegisteredClasses() {
    static std::vector<const TClassInfo*> classes;
    return classes;
}

} // namespace

const TClassInfo* FindComponentClass(std::string_view name) {
    for (const TClassInfo* info : RegisteredClasses())
        if (SameName(info->Name, name)) return info;
    for (const TClassInfo* info : kBuiltInClasses)
        if (SameName(info->Name, name)) return info;
    return nullptr;
}

void RegisterComponentClass(const TClassInfo& info) {
    auto& classes = RegisteredClasses();
    classes.erase(std::remove_if(classes.begin(), classes.end(),
                                 [&](const TClassInfo* c) { return SameName(c->Name, info.Name); }),
                  classes.end());
    if (info.Create) classes.push_back(&info);
}

} // namespace attente
