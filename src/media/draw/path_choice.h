#pragma once
// Which way frames are drawn, and how the game tells a graphics card from a software one.

#include <filesystem>
#include <string_view>

// By SDL's renderer (a GPU), or composed in memory by the CPU and handed to SDL once per
// frame. Automatic takes the composer where the renderer would draw in software anyway;
// tests and benchmarks may force either.
enum class PathChoice { Automatic, Renderer, Composer };

// True for the OpenGL renderer names of Mesa's software rasterisers (llvmpipe, softpipe, swrast).
bool isSoftwareRasteriser(std::string_view glRendererName);

// True when the devices folder shows a graphics card: a DRM node (dri/card*, dri/renderD*) or
// NVIDIA's control node. Without one, OpenGL can only draw on the CPU, so there is no need to
// load it (and the compiler behind Mesa's software rasteriser) only to ask.
bool graphicsCardPresent(const std::filesystem::path& devices = "/dev");
