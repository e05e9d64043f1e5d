#pragma once
// Quads gathered while they share a texture and a blend mode, sent to the
// renderer in one call: a board of tiles or a line of text is one draw.

#include <SDL.h>

#include <utility>
#include <vector>

class QuadBatch {
public:
    explicit QuadBatch(SDL_Renderer* renderer) : renderer(renderer) {}
    // Adds a quad (corners top-left, top-right, bottom-left, bottom-right); a null texture fills.
    void add(SDL_Texture* texture, SDL_BlendMode blend, const SDL_Vertex (&corners)[4]);
    // Draws what has been gathered; before a present, a clear or a read of the screen.
    void flush();
    // Renderer calls made since the previous call of this.
    int takeDrawCalls() { return std::exchange(calls, 0); }

private:
    SDL_Renderer* renderer;
    SDL_Texture* texture = nullptr;
    SDL_BlendMode blend = SDL_BLENDMODE_BLEND;
    int calls = 0;
    std::vector<SDL_Vertex> vertices;
    std::vector<int> indices;
};
