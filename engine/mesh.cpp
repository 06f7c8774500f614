#include "engine/mesh.h"

namespace {

class NoMeshes final : public MeshStore {
  public:
    int replace(int, const Mesh&) override { return 0; }
    void release(int) override {}
};

NoMeshes none;
MeshStore* store = &none;

} // namespace

MeshStore::~MeshStore() {
    if (store == this) {
        store = &none;
    }
}

MeshStore& meshStore() {
    return *store;
}

void setMeshStore(MeshStore* next) {
    store = next != nullptr ? next : &none;
}
