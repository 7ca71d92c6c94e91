#include "display/sdl/WindowSystem.h"

#include <SDL.h>

namespace BPrivate {

WindowSystem::~WindowSystem() = default;

void
WindowSystem::Started(const LaunchToken&)
{ }

int32
WindowSystem::WindowScale()
{
	return 1;
}

int32
WindowSystem::FrameScale(SDL_Window*)
{
	return WindowScale();
}

bool
WindowSystem::KnowsPositions()
{
	return true;
}

void
WindowSystem::WillShow(SDL_Window*, const WindowTraits&, SDL_Window*)
{ }

void
WindowSystem::DidShow(SDL_Window*, const WindowTraits&, SDL_Window*)
{ }

void
WindowSystem::Activate(SDL_Window* window, const LaunchToken&)
{
	SDL_RaiseWindow(window);
}

void
WindowSystem::KeepInFront(SDL_Window*)
{ }

void
WindowSystem::WindowGone(SDL_Window*)
{ }

SDL_Surface*
WindowSystem::FrameSurface(SDL_Window* window, int32, int32)
{
	return SDL_GetWindowSurface(window);
}

void
WindowSystem::ShowFrame(SDL_Window* window)
{
	SDL_UpdateWindowSurface(window);
}

bool
WindowSystem::AfterWait()
{
	return false;
}

} // namespace BPrivate
