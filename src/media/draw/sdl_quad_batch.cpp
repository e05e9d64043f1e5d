#include "media/draw/sdl_quad_batch.h"

void QuadBatch::add(SDL_Texture* quadTexture, SDL_BlendMode quadBlend, const SDL_Vertex (&corners)[4]) {
    if (!vertices.empty() && (quadTexture != texture || quadBlend != blend)) flush();
    texture = quadTexture;
    blend = quadBlend;
    const int first = static_cast<int>(vertices.size());
    vertices.insert(vertices.end(), corners, corners + 4);
    // Two triangles: top-left, top-right, bottom-left and top-right, bottom-right, bottom-left.
    for (int corner : {0, 1, 2, 1, 3, 2}) indices.push_back(first + corner);
}

void QuadBatch::flush() {
    if (vertices.empty()) return;
    if (texture) {
        SDL_SetTextureBlendMode(texture, blend);
    } else {
        SDL_SetRenderDrawBlendMode(renderer, blend);
    }
    SDL_RenderGeometry(renderer, texture, vertices.data(), static_cast<int>(vertices.size()), indices.data(),
                       static_cast<int>(indices.size()));
    calls += 1;
    vertices.clear();
    indices.clear();
}
