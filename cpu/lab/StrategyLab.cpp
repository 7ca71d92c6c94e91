#include "StrategyLab.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "GuessSymmetry.h"


// Parts of at least this many candidates are handed to whichever thread is
// free; smaller ones are played on by the thread that made them.
static const int32_t kSharedPart = 64;


struct StrategyLab::Node {
	std::vector<int32_t> candidates;
	GuessSymmetry		 symmetry;
	int32_t				 depth;
};


struct StrategyLab::Shared {
	std::mutex				lock;
	std::condition_variable work;
	std::condition_variable finish;
	std::vector<Node>		queue;
	int						busy = 0;
	bool					finished = false;
	std::vector<int32_t>*	rows = nullptr;
	std::atomic<int64_t>	solved = 0;
};


StrategyLab::StrategyLab(const LabSettings& settings) :
	settings(settings),
	space(settings.holes, settings.colours, RanksGuesses(settings.strategy)),
	rule(settings.strategy, space.count, space.ScoreCount()),
	fOpening(settings.first)
{
	if (fOpening >= 0)
		return;
	switch (settings.strategy) {
		case STRATEGY_GAME: {
			uint8_t digits[kMaxHoles];
			for (int i = 0; i < space.holes; i++)
				digits[i] = (uint8_t)(i % space.colours);
			fOpening = space.Code(digits);
			break;
		}
		case STRATEGY_FIRST:
			fOpening = 0;
			break;
		default: {
			Node root { {}, GuessSymmetry(space), 0 };
			root.candidates.resize(space.count);
			for (int32_t code = 0; code < space.count; code++)
				root.candidates[code] = code;
			GuessSearch search(space, rule, settings.symmetry);
			search.Load(root.candidates.data(), space.count);
			fOpening = search.Choose(root.symmetry);
			break;
		}
	}
}


int32_t
StrategyLab::Opening()
{
	return fOpening;
}


int32_t
StrategyLab::Choose(const Node& node, GuessSearch& search) const
{
	const std::vector<int32_t>& candidates = node.candidates;
	if (node.depth == 1)
		return fOpening;
	if (candidates.size() == 1)
		return candidates[0];
	switch (settings.strategy) {
		case STRATEGY_GAME: {
			// The first candidate counting on from the opening.
			int32_t best = candidates[0];
			for (int32_t code : candidates) {
				if (code >= fOpening) {
					best = code;
					break;
				}
			}
			return best;
		}
		case STRATEGY_FIRST:
			return candidates[0];
		default:
			return search.Choose(node.symmetry);
	}
}


void
StrategyLab::Expand(Node& node, GuessSearch& search, Shared& shared)
{
	const int32_t count = (int32_t)node.candidates.size();
	search.Load(node.candidates.data(), count);
	const int32_t		 guess = Choose(node, search);

	std::vector<uint8_t> keys(count);
	search.columns.ScoreAll(space.MakePegs(guess), keys.data());
	int32_t sizes[kScoreKeyLimit] = {};
	for (int32_t n = 0; n < count; n++)
		sizes[keys[n]]++;

	std::vector<Node> parts(kScoreKeyLimit);
	const bool		  symmetric = RanksGuesses(settings.strategy);
	for (int key = 0; key < kScoreKeyLimit; key++) {
		if (sizes[key] > 1)
			parts[key].candidates.reserve(sizes[key]);
	}
	for (int32_t n = 0; n < count; n++)
		parts[keys[n]].candidates.push_back(node.candidates[n]);
	node.candidates = std::vector<int32_t>();

	std::vector<int32_t>& rows = *shared.rows;
	for (int key = 0; key < kScoreKeyLimit; key++) {
		Node& part = parts[key];
		if (part.candidates.empty())
			continue;
		if (key == space.WinKey() || part.candidates.size() == 1) {
			rows[part.candidates[0]] =
				key == space.WinKey() ? node.depth : node.depth + 1;
			shared.solved.fetch_add(1, std::memory_order_relaxed);
			continue;
		}
		part.depth = node.depth + 1;
		if (symmetric)
			part.symmetry = node.symmetry.After(space, guess);
		if ((int32_t)part.candidates.size() < kSharedPart) {
			Expand(part, search, shared);
			continue;
		}
		std::lock_guard<std::mutex> hold(shared.lock);
		shared.queue.push_back(std::move(part));
		shared.work.notify_one();
	}
}


void
StrategyLab::Work(Shared& shared)
{
	GuessSearch					 search(space, rule, settings.symmetry);
	std::unique_lock<std::mutex> hold(shared.lock);
	while (true) {
		shared.work.wait(
			hold, [&] { return !shared.queue.empty() || shared.busy == 0; });
		if (shared.queue.empty()) {
			// Nothing queued and nobody left to queue more.
			shared.finished = true;
			shared.work.notify_all();
			shared.finish.notify_all();
			return;
		}
		Node node = std::move(shared.queue.back());
		shared.queue.pop_back();
		shared.busy++;
		hold.unlock();
		Expand(node, search, shared);
		hold.lock();
		shared.busy--;
		if (shared.busy == 0)
			shared.work.notify_all();
	}
}


void
StrategyLab::SolveAll(std::vector<int32_t>& rows, LabProgress* progress)
{
	rows.assign(space.count, 0);
	Shared shared;
	shared.rows = &rows;
	Node root { std::vector<int32_t>(space.count), GuessSymmetry(space), 1 };
	for (int32_t code = 0; code < space.count; code++)
		root.candidates[code] = code;
	shared.queue.push_back(std::move(root));

	std::vector<std::thread> workers;
	for (int t = 0; t < std::max(1, settings.threads); t++)
		workers.emplace_back([&] { Work(shared); });
	{
		std::unique_lock<std::mutex> hold(shared.lock);
		while (!shared.finish.wait_for(hold, std::chrono::milliseconds(250),
			[&] { return shared.finished; })) {
			if (progress != nullptr)
				progress->Solved(shared.solved, space.count);
		}
	}
	for (std::thread& worker : workers)
		worker.join();
	if (progress != nullptr)
		progress->Solved(space.count, space.count);
}


std::vector<LabStep>
StrategyLab::Play(int32_t secret)
{
	std::vector<LabStep> steps;
	GuessSearch			 search(space, rule, settings.symmetry);
	Node node { std::vector<int32_t>(space.count), GuessSymmetry(space), 1 };
	for (int32_t code = 0; code < space.count; code++)
		node.candidates[code] = code;
	while (true) {
		search.Load(node.candidates.data(), (int32_t)node.candidates.size());
		const int32_t guess = Choose(node, search);
		const int	  key = space.Score(guess, secret);
		steps.push_back(LabStep { guess, ScoreExact(key), ScoreColor(key) });
		if (key == space.WinKey())
			return steps;

		std::vector<int32_t> left;
		for (int32_t code : node.candidates) {
			if (space.Score(code, guess) == key)
				left.push_back(code);
		}
		node.candidates.swap(left);
		if (RanksGuesses(settings.strategy))
			node.symmetry = node.symmetry.After(space, guess);
		node.depth++;
	}
}
