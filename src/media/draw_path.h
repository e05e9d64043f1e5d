#pragma once
// Which way frames are drawn, and how the game tells a graphics card from a software one.

#include <string_view>

// By SDL's renderer (a GPU), or composed in memory by the CPU and handed to SDL once per
// frame. Automatic takes the composer where the renderer would draw in software anyway;
// tests and benchmarks may force either.
enum class DrawPath { Automatic, Renderer, Composer };

// True for the OpenGL renderer names of Mesa's software rasterisers (llvmpipe, softpipe, swrast).
bool isSoftwareRasteriser(std::string_view glRendererName);
