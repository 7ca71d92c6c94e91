// The yardstick for the game's start: the least an SDL2 program does to show
// a window of the game's size, 160 by 269, through the software renderer, or
// where SDL has none for a window (Wayland), through the renderer it offers.
// Reports the wall-clock time of its first finished frame on standard error
// in the game's own format, then waits to be ended.

#include <SDL.h>

#include <cstdio>
#include <ctime>

int
main(int, char**)
{
	SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
	if (SDL_Init(SDL_INIT_VIDEO) != 0) {
		fprintf(stderr, "minimal_window: %s\n", SDL_GetError());
		return 1;
	}
	SDL_Window*	  window = SDL_CreateWindow("minimal", 30, 30, 160, 269, 0);
	SDL_Renderer* renderer = window != NULL
		? SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE)
		: NULL;
	if (window != NULL && renderer == NULL)
		renderer = SDL_CreateRenderer(window, -1, 0);
	if (renderer == NULL) {
		fprintf(stderr, "minimal_window: %s\n", SDL_GetError());
		return 1;
	}
	SDL_SetRenderDrawColor(renderer, 216, 216, 216, 255);
	SDL_RenderClear(renderer);
	SDL_RenderPresent(renderer);
	timespec now;
	clock_gettime(CLOCK_REALTIME, &now);
	fprintf(
		stderr, "first frame %lld.%09ld\n", (long long)now.tv_sec, now.tv_nsec);

	SDL_Event event;
	while (SDL_WaitEvent(&event) && event.type != SDL_QUIT) {
	}
	SDL_DestroyRenderer(renderer);
	SDL_DestroyWindow(window);
	SDL_Quit();
	return 0;
}
