#include "markup/skin_pool.h"

#include <cstring>

#include <tinyxml.h>

#include "markup/colour_skins.h"
#include "markup/file_skins.h"
#include "markup/image_bar_skin.h"
#include "markup/image_frame_skin.h"
#include "markup/image_list_skin.h"
#include "markup/jpg_skin.h"
#include "markup/png_skin.h"
#include "markup/pool_table.h"
#include "markup/xml_document.h"

namespace velora {
namespace {

template <typename Skin>
std::unique_ptr<CBkSkinBase> Make() {
    return std::make_unique<Skin>();
}

}  // namespace

std::unique_ptr<CBkSkinBase> CreateSkin(const char* tag) {
    const struct {
        const char* tag;
        std::unique_ptr<CBkSkinBase> (*make)();
    } kinds[] = {{CBkImageSkin::kTag, Make<CBkImageSkin>},
                 {CBkSkinImgFrame::kTag, Make<CBkSkinImgFrame>},
                 {CBkSkinButton::kTag, Make<CBkSkinButton>},
                 {CBkSkinImgHorzExtend::kTag, Make<CBkSkinImgHorzExtend>},
                 {CBkSkinGradation::kTag, Make<CBkSkinGradation>},
                 {CBkPngSkin::kTag, Make<CBkPngSkin>},
                 {CBkJpgSkin::kTag, Make<CBkJpgSkin>},
                 {CBkNormalPngSkin::kTag, Make<CBkNormalPngSkin>},
                 {CBkNormalJPGSkin::kTag, Make<CBkNormalJPGSkin>}};
    for (const auto& kind : kinds) {
        if (tag != nullptr && std::strcmp(tag, kind.tag) == 0) {
            return kind.make();
        }
    }
    return nullptr;
}

BkSkinObjectPool& BkSkinObjectPool::Instance() {
    static BkSkinObjectPool pool;
    return pool;
}

bool BkSkinObjectPool::Load(UINT id) {
    skins_.clear();
    return LoadPoolTable(id, "skins", [this](const TiXmlElement& root) {
        for (const TiXmlElement* entry = root.FirstChildElement(); entry;
             entry = entry->NextSiblingElement()) {
            const char* name = AttributeText(entry, "name");
            if (name == nullptr || skins_.count(name) != 0) {
                continue;
            }
            std::unique_ptr<CBkSkinBase> skin = CreateSkin(entry->Value());
            if (!skin) {
                continue;
            }
            skin->Load(entry);
            skins_.emplace(name, std::move(skin));
        }
    });
}

CBkSkinBase* BkSkinObjectPool::GetSkin(const std::string& name) {
    auto found = skins_.find(name);
    if (found == skins_.end()) {
        return nullptr;
    }
    found->second->LoadPicture();
    return found->second.get();
}

}  // namespace velora
