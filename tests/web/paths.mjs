// Where the tests find what they test: the built site and the native companion, from
// the environment (scripts/test-web.sh sets both) or the presets' build folders.
import { execFileSync } from 'node:child_process';
import { fileURLToPath } from 'node:url';
import { resolve } from 'node:path';

export const kRoot = resolve(fileURLToPath(new URL('../..', import.meta.url)));
export const kSiteDir = process.env.QUILLMERE_SITE ?? `${kRoot}/build/web/site`;
export const kCompanion = process.env.QUILLMERE_CLI ?? `${kRoot}/build/native/cli/quillmere-cli`;

// The companion's tsv lines for its arguments (without --format), with --wide as the
// page's grid has them (registers, tolerance, longest bus, TDC offset); [] when it
// lists none.
export function CompanionLines(args) {
  const out = execFileSync(kCompanion, [...args, '--format', 'tsv', '--wide'], { encoding: 'latin1', maxBuffer: 1 << 28 });
  return out === '' ? [] : out.replace(/\n$/, '').split('\n');
}

// The companion's output for its arguments, as it prints it.
export function CompanionText(args) {
  return execFileSync(kCompanion, args, { encoding: 'utf8' });
}
