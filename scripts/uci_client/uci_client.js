// Drives Dorvik over UCI with node-uci, as a UCI front end would, and checks with chess.js that
// every best move (and every expected reply) is legal. Exits non-zero at the first fault.
//
// Usage: node uci_client.js ENGINE [WORKDIR]
'use strict';
const { Engine } = require('node-uci');
const { Chess } = require('chess.js');

const [enginePath, workDir] = process.argv.slice(2);
if (!enginePath) {
  console.error('usage: node uci_client.js ENGINE [WORKDIR]');
  process.exit(2);
}
if (workDir) process.chdir(workDir);

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
let checks = 0;

function check(condition, what) {
  if (!condition) throw new Error(`FAILED: ${what}`);
  checks++;
}

// Plays the best move (and the reply it expects) on a copy of the game: both must be legal.
function checkLegal(game, result, what) {
  check(result.bestmove && result.bestmove !== '0000', `${what}: a best move (${JSON.stringify(result)})`);
  const copy = new Chess(game.fen());
  const play = (uci) => {
    try {
      copy.move({ from: uci.slice(0, 2), to: uci.slice(2, 4), promotion: uci[4] });
      return true;
    } catch (e) {
      return false;
    }
  };
  check(play(result.bestmove), `${what}: best move ${result.bestmove} legal in ${game.fen()}`);
  if (result.ponder) check(play(result.ponder), `${what}: expected reply ${result.ponder} legal`);
  return result.bestmove;
}

// Sends a command during a search and waits for a line of the answer anywhere in the output (the
// client's own waiting looks at the last line of what arrives at once, and info lines may follow).
function sendAndAwait(engine, command, answer) {
  return new Promise((resolve) => {
    let backlog = '';
    const listener = (data) => {
      backlog += data;
      if (backlog.split(/\r?\n/).includes(answer)) {
        engine.proc.stdout.removeListener('data', listener);
        resolve();
      }
    };
    engine.proc.stdout.on('data', listener);
    engine.write(command);
  });
}

function play(game, uci) {
  game.move({ from: uci.slice(0, 2), to: uci.slice(2, 4), promotion: uci[4] });
}

// Sends a position the way front ends do: the start and every move since.
async function sendGame(engine, moves) {
  await engine.position('startpos', moves);
}

// Both sides played by the engine on clocks that run down by the time each move took.
async function clockGame(engine, plies) {
  const game = new Chess();
  const moves = [];
  const clock = { w: 6000, b: 6000 };
  const increment = 50;
  let lowest = Infinity;
  await engine.ucinewgame();
  for (let ply = 0; ply < plies && !game.isGameOver(); ply++) {
    await sendGame(engine, moves);
    const side = game.turn();
    const started = Date.now();
    const result = await engine.go({ wtime: clock.w, btime: clock.b, winc: increment, binc: increment });
    clock[side] -= Date.now() - started;
    lowest = Math.min(lowest, clock[side]);
    check(clock[side] > 0, `clock game: ${side} has time left after ply ${ply + 1} (${clock[side]} ms)`);
    clock[side] += increment;
    const move = checkLegal(game, result, `clock game, ply ${ply + 1}`);
    play(game, move);
    moves.push(move);
  }
  console.log(`clock game: ${moves.length} plies, lowest clock ${lowest} ms: ${moves.join(' ')}`);
}

async function main() {
  const engine = new Engine(enginePath);
  await engine.init();
  check(/^Dorvik/.test(engine.id.name || ''), `handshake: id name (${engine.id.name})`);
  for (const option of ['Ponder', 'OwnBook', 'BookPath', 'EgbbPath'])
    check(engine.options.has(option), `handshake: option ${option}`);
  await engine.setoption('OwnBook', 'false');
  await engine.isready();

  await clockGame(engine, 24);

  // A position with moves, searched to a depth and for a fixed time.
  const opening = ['e2e4', 'c7c5', 'g1f3', 'd7d6', 'd2d4', 'c5d4', 'f3d4', 'g8f6', 'b1c3'];
  const game = new Chess();
  opening.forEach((m) => play(game, m));
  await sendGame(engine, opening);
  let result = await engine.go({ depth: 6 });
  checkLegal(game, result, 'go depth 6');
  check(result.info.some((i) => i.depth === 6), 'go depth 6: an info line of depth 6');
  check(!result.info.some((i) => i.depth > 6), 'go depth 6: no deeper line');
  check(result.info.every((i) => i.score && i.nodes >= 0 && i.time >= 0 && i.pv), 'go depth 6: info fields');

  let started = Date.now();
  result = await engine.go({ movetime: 400 });
  checkLegal(game, result, 'go movetime 400');
  check(Date.now() - started < 400 + 300, `go movetime 400: answered in ${Date.now() - started} ms`);

  // "isready" is answered while the engine searches.
  const searching = engine.go({ movetime: 1500 });
  await sleep(300);
  let bestSeen = false;
  searching.then(() => (bestSeen = true));
  await sendAndAwait(engine, 'isready', 'readyok');
  check(!bestSeen, 'isready during a search: readyok before the best move');
  checkLegal(game, await searching, 'go movetime 1500');

  // Infinite until "stop".
  const emitter = engine.goInfinite();
  let infoLines = 0;
  emitter.on('data', (d) => {
    if (d.depth) infoLines++;
  });
  await sleep(700);
  result = await engine.stop();
  check(infoLines > 0, 'go infinite: info lines');
  checkLegal(game, result, 'go infinite, stop');

  // Pondering: the front end plays the expected reply, then tells the engine it was right.
  const reply = result.ponder;
  check(!!reply, 'go infinite: an expected reply to ponder on');
  const ponderGame = new Chess(game.fen());
  play(ponderGame, result.bestmove);
  play(ponderGame, reply);
  await sendGame(engine, [...opening, result.bestmove, reply]);
  const pondering = engine.go({ ponder: true, wtime: 30000, btime: 30000, winc: 0, binc: 0 });
  let ponderDone = false;
  pondering.then(() => (ponderDone = true));
  await sleep(500);
  await sendAndAwait(engine, 'isready', 'readyok');
  check(!ponderDone, 'go ponder: no best move before ponderhit');
  engine.write('ponderhit');
  checkLegal(ponderGame, await pondering, 'go ponder, ponderhit');

  await engine.quit();
  console.log(`UCI client: ${checks} checks passed`);
}

main().catch((e) => {
  console.error(e.message || e);
  process.exit(1);
});
