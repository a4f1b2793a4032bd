#include "lexicon/FirstSenses.h"

#include <algorithm>

namespace pelorin {

namespace {

constexpr std::string_view kBlanks = " \t\r";

// Cuts the first field off a line, blanks before it and after it included.
std::string_view NextField(std::string_view& line)
{
    const size_t start = line.find_first_not_of(kBlanks);
    if (start == std::string_view::npos) {
        line = {};
        return {};
    }
    line.remove_prefix(start);
    const size_t end = std::min(line.find_first_of(kBlanks), line.size());
    const std::string_view field = line.substr(0, end);
    line.remove_prefix(end);
    return field;
}

// Judged, not computed: the first clues of the commonest answers of many games of
// both default styles were read as a solver reads them, and where one was a sense
// the solver does not think of first, or read garbled while another sense reads
// well, that sense is named here; where no sense of a word reads fairly in either
// style, the word is no answer; where a clue gave its word away through a word of
// its family that WordNet does not link to it, the family is named. A word's lines
// keep their order: its first line's part of speech leads.
constexpr std::string_view kList = R"(# word  part (n v a r; - none; + kin)  gloss opening, why none, or kin
abacus   n  a calculator that performs arithmetic functions
abnormal +  normal
abrupt   a  exceedingly sudden and unexpected
absorb   v  take in, also metaphorically
abstract a  existing only in the mind
ace      n  one of four playing cards in a deck
ache     n  a dull persistent (usually moderately intense) pain
ache     v  feel physical pain
acids    n  any of various water-soluble compounds
act      n  something that people do or cause to happen
adalia   -  an old name for Antalya, the Bible's Adalia a man
adams    n  2nd President of the United States
addendum +  added
addition n  the arithmetic operation of summing
addled   a  confused and vague
adhere   v  stick to firmly
advise   +  advice
advisor  +  advice
aerial   n  an electrical device that sends or receives
affinity n  a natural attraction or feeling of kinship
afoot    +  foot
agar     n  a colloidal extract of algae
agent    n  a representative who acts on behalf of other
ail      v  be ill or unwell
airs     n  affected manners intended to impress
alien    n  a person who comes from a foreign country
all      r  to a complete degree or to the full
alright  r  an expression of agreement normally
amazon   n  a major South American river
amputee  +  amputation
analyse  v  break down into components
analyse  +  analysis psychoanalytic
angus    n  black hornless breed from Scotland
annas    -  the plural of a coin, the Bible's Annas a high priest
annual   a  occurring or payable every year
anomaly  n  deviation from the normal or common order
anthill  +  ants
apache   n  any member of Athapaskan tribes
arc      n  a continuous portion of a circle
arctic   a  extremely cold
armrest  +  arm
ashamed  +  shame
ashes    n  the residue that remains when
ashore   +  shore
ashtray  +  ash
aside    +  side
ass      n  hardy and sure-footed animal
assault  n  a threatened or attempted physical attack
assembly n  a group of persons who are gathered
assur    -  every sense names Assyria, or is a variant of another name
attract  v  direct toward itself or oneself by means
audio    +  audible
august   a  profoundly honored
awaken   +  awake
award    n  a tangible symbol signifying approval or distinction
awesome  +  awe
bach     n  German baroque organist and contrapuntist
baddie   +  bad
bai      -  an obscure language of Yunnan
bait     n  anything that serves as an enticement
bald     a  lacking hair on all or most
ban      v  prohibit especially by legal means
banana   n  elongated crescent-shaped yellow fruit
band     n  a group of musicians playing popular music
barbell  +  bar
bargain  n  an advantageous purchase
barman   +  bar
base     n  lowest support of a structure
base     +  basis
basic    +  base basis
basses   n  an adult male singer with the lowest
bate     v  moderate or restrain
bath     n  a relatively large open container that you fill
battery  n  a device that produces electricity
be       v  have an existence, be extant
bear     n  massive plantigrade carnivorous or omnivorous mammals
bear     v  bring forth
beck     +  beckoning
bedstead +  bed
beechen  +  beech
behave   +  behavior
beloved  +  loved
belt     n  a band to tie or buckle around
bereft   a  sorrowful through loss or deprivation
berth    n  a bed on a ship or train
beryl    +  beryllium
betimes  +  time
betray   v  deliver to an enemy by treachery
bid      n  an attempt to get something
bid      v  ask for or request earnestly
bifocals +  focal
bigotry  +  bigot
billion  n  the number that is represented as a one followed by 9
birth    n  the event of being born
bitch    n  female of any member of the dog family
black    +  blacken
blade    n  the flat part of a tool or weapon
blame    v  attribute responsibility to
blinds   n  a protective covering that keeps
blues    n  a type of folksong that originated among Black Americans
boned    +  deboned
boon     n  a desirable state
boredom  +  bored
bowman   +  bow
boxy     +  boxlike
bray     n  the cry of an ass
break    v  destroy the integrity of; usually by force
breasts  n  either of two soft fleshy milk-secreting
breed    n  a special variety of domesticated animals
breed    v  cause to procreate (animals)
broaden  +  broader
brush    n  an implement that has hairs or bristles
buddha   +  buddhism
buddhist +  buddha
buff     n  an ardent follower and admirer
buff     v  polish and make shiny
buildup  +  building
bullock  +  bull
bus      n  a vehicle carrying many passengers
butt     n  a victim of ridicule or pranks
cab      n  a car driven by a person whose job
cabbage  n  any of various cultivars of the genus
cable    n  a conductor for transmitting electrical
cake     n  baked goods made from or based on a mixture
captive  n  a person who is confined; especially a prisoner of war
carbonyl +  carbon
carrier  n  a person or firm in the business
castle   n  a large building formerly occupied by a ruler
casualty n  someone injured or killed or captured
center   n  a point equidistant from the ends of a line
chaff    n  material consisting of seed coverings
chain    n  a series of (usually metal) rings or links
chained  +  enchained
chaldee  +  chaldea
chariot  n  a two-wheeled horse-drawn battle vehicle
chatter  v  speak (about unimportant matters) rapidly and incessantly
chief    n  a person who is in charge
chilly   a  appreciably or disagreeably cold
chinese  -  every sense names China but an obscure one of Taiwan
chip     n  a small fragment of something broken off
choir    n  the area occupied by singers
choler   n  an irritable petulant feeling
chorus   n  a group of people assembled to sing
chrome   +  chromium
chum     n  a close friend who accompanies his buddies
clad     a  having an outer covering
clap     v  strike together so as to produce a sharp percussive noise
clash    n  a state of conflict between persons
cleaner  +  cleanser
cleanse  +  clean
clever   a  mentally quick and resourceful
clip     n  any of various small fasteners used to hold
closure  n  termination of operations
clout    n  (boxing) a blow with the fist
clown    n  a person who amuses others by ridiculous
club     n  a formal association of people
coal     n  fossil fuel consisting of carbonized
cock     n  adult male chicken
cola     n  carbonated drink flavored
colds    n  a mild viral infection involving
colors   n  a flag that shows its nationality
colour   n  a visual attribute of things that results
coloured a  favoring one person or side over another
comely   a  very pleasing to the eye
common   +  community
commute  v  travel back and forth regularly
compose  v  write music
coney    n  any of various burrowing animals of the family Leporidae
conquest +  conquering
consist  v  be composed of
consume  v  use up (resources or materials)
contacts n  a person who is in a position to give you special assistance
copilot  +  pilot
core     n  the center of an object
cornel   +  cornus
corner   n  an interior angle formed by two meeting walls
corp     +  incorporation
cosmos   n  everything that exists anywhere
costa    -  a Latin word for a rib few solvers know
cotton   n  erect bushy mallow plant or small tree bearing bolls
courtesy +  courteous
covert   a  secret or hidden; not openly practiced
cox      +  coxswain
cradle   n  a baby bed with sides and rockers
cramps   n  a painful and involuntary muscular contraction
crash    n  a serious accident (usually involving
cream    n  the part of milk containing the butterfat
creepy   a  causing a sensation as of things crawling
crimson  n  a deep and vivid red color
croquet  n  a game in which players hit a wooden ball
cross    +  across
crouch   v  sit on one's heels
crow     n  black birds having a raucous call
crud     n  any substance considered disgustingly foul
cucumber +  cucumis
cuss     v  utter obscenities or profanities
cute     a  attractive especially by means of smallness
cutter   n  a sailing vessel with a single mast
czech    +  czechoslovakia
damages  n  a sum of money paid in compensation
damn     v  wish harm upon
damned   a  in danger of the eternal punishment of Hell
dangers  n  a cause of pain or injury or loss
dare     v  to be courageous enough to try
darken   +  dark darker
darkish  -  its only sense, "slightly dark", names dark
das      -  a name for the hyrax no solver knows
deadly   +  death
deafen   v  be unbearably loud
deal     n  a particular instance of buying or selling
deal     v  take action with respect to
debase   +  base
decamp   +  camp
deck     n  any of various platforms built into a vessel
deck     v  decorate
decoder  n  a machine that converts a coded text
decoy    n  something used to lure fish or other animals
deep     +  depth
deeply   +  depth
deeps    n  literary term for an ocean
defence  n  (military) military action or resources protecting
defile   v  spot, stain, or pollute
degrade  v  reduce in worth or character
degree   n  a measure for arcs and angles
demise   n  the time when something ends
democrat +  democratic
dentist  +  dentistry
denture  +  dental
deposit  v  put into a bank account
desert   n  arid land with little or no vegetation
desist   -  its only sense reads "choose not to consume"
devalue  +  value
devour   v  eat greedily
dewy     +  bedewed
die      v  pass from physical life and lose
dinge    n  discoloration due to dirtiness
disc     +  disk
disjoin  +  disjoint
disturb  v  destroy the peace or tranquility of
dive     n  a headlong plunge into water
do       v  carry out or perform an action
dodo     n  extinct heavy flightless bird
doers    -  its only sense names done; its synonym, "actor", is another sense
doggie   +  dogs
doghouse +  dog
doom     n  an unpleasant or disastrous destiny
dote     v  shower with love; show excessive
drama    n  the literary genre of works intended
drown    v  die from being submerged in water
duality  n  being twofold
dues     n  that which is deserved or owed
dungeon  n  a dark cell (usually underground) where prisoners
duties   n  work that you are obliged to perform
dwell    v  inhabit or live in; be an inhabitant
dyadic   +  dyad
dying    a  in or associated with the process
eared    -  "worn or shabby" is dog-eared's sense; "having ears" names ears
earliest r  with the least delay
early    r  before the usual time or the time expected
earthen  +  earth
easily   +  ease
eastward -  every sense names the east, or clues EAST
eggplant +  egg
either   -  its only sense reads "after a negative statement", an open clause
elamite  +  elam
elbow    n  hinge joint between the forearm and upper arm
elfin    a  small and delicate
elongate +  long
embody   v  represent or express something abstract
embrace  v  squeeze (someone) tightly in your arms
emeralds n  a green transparent form of beryl
enable   +  able
encase   +  case
enclose  +  close
encode   +  code
endanger +  danger dangerous
endorse  v  give support or one's approval to
enemies  n  an armed adversary (especially
energies n  forceful exertion
english  +  england
enquire  v  have a wish or desire to know something
enslave  +  slave
ensnare  v  catch in or as if in a trap
ensue    -  its only sense reads "issue or terminate", an open clause
entropy  n  (thermodynamics) a thermodynamic quantity
entrust  +  trust
ephesian +  ephesus
essence  n  the central meaning or theme of a speech
ethnic   a  denoting or deriving from or distinctive
events   n  something that happens at a given place
evils    n  that which causes harm or destruction
exhort   v  spur on or encourage
eyebrow  +  eye
eyelid   +  eye
facade   +  face
facial   +  facialis face
factual  +  fact
faggot   n  a bundle of sticks and branches bound
fail     v  be unsuccessful
fain     r  in a willing manner
faint    a  lacking clarity or distinctness
fare     n  the sum charged for riding in a public conveyance
farm     v  cultivate by growing, often involving
fat      +  fatten
fats     n  a soft greasy substance occurring
favour   n  an act of gracious kindness
feast    n  a ceremonial dinner party for many people
fester   v  ripen and generate pus
fiddle   n  bowed stringed instrument that is the highest member
fiddle   v  play on a violin
fifths   n  one part in five equal parts
fig      n  fleshy sweet pear-shaped yellowish
fight    n  the act of fighting; any contest
fill     +  full
filling  n  (dentistry) a dental appliance consisting
finish   v  have an end, in a temporal
finn     +  finland
fitness  n  good physical condition
flame    +  inflammable
flare    n  a sudden burst of flame
flat     a  horizontally level
flavor   n  the taste experience when a savoury condiment
flock    n  a group of birds
floss    n  a soft thread for cleaning the spaces
flows    n  any uninterrupted stream or discharge
folks    n  people in general (often used
form     n  a printed document with spaces
fortune  n  a large amount of wealth or prosperity
founder  v  sink below the surface
frame    n  the internal supporting structure that gives
freedom  +  free
fry      v  cook on a hot surface using fat
furore   n  a sudden outburst (as of protest)
gad      v  wander aimlessly in search of pleasure
gaddi    -  an Indian throne cushion, the Bible's Gaddi a man
gal      n  alliterative term for girl
gan      -  an archaic past of gin
gargle   v  rinse one's mouth and throat with mouthwash
gear     n  a toothed wheel that engages another
geek     n  a person with an unusual or odd personality
gem      n  a precious or semiprecious stone incorporated
gent     +  gentleman
germ     n  a minute life form
ghost    n  the visible disembodied soul of a dead person
gig      n  a booking for musicians
gins     n  a trap for birds or small mammals
girdle   n  a woman's close-fitting foundation garment
giver    n  person who makes a gift of property
glaze    n  a coating for ceramics, metal, etc.
glaze    +  glass glassy
globes   n  a sphere on which a map
globule  +  globe
glove    n  handwear: covers the hand and wrist
glyph    +  glyptic
goad     n  a pointed instrument that is used to prod
goad     v  stab or urge on as if with a pointed stick
godhead  +  god
godlike  +  god
goings   n  the act of departing
golden   +  gold
gourd    n  any of numerous inedible fruits with hard rinds
govern   v  exercise authority over; as of nations
grad     n  a person who has received a degree
grades   n  a number or letter indicating quality
gradient +  graded
grain    n  dry seed-like fruit produced by the cereal grasses
grave    n  a place for the burial of a corpse
gray     a  of an achromatic color of any lightness
gray     +  grey
grays    n  a neutral achromatic color midway
greek    +  greece
greeks   -  the people name Greece; the language has no plural
greet    -  its fair senses name greetings; the others are rare
grey     n  a neutral achromatic color midway
grieve   +  grief
grind    v  reduce to small pieces or particles by pounding
grounds  n  the enclosed land around a house
growth   n  a process of becoming larger or longer
gunfire  +  gun
gunshot  +  gun
gur      -  a Voltaic language, the Bible's Gur a place
gypsy    n  a member of a people with dark skin
hairdo   +  hair
hairs    n  any of the cylindrical filaments
hammer   n  a hand tool with a heavy rigid head
hap      +  happening
hassle   v  annoy continually or chronically
haunt    v  haunt like a ghost; pursue
hawaii   +  hawai
header   n  a line of text serving to indicate
heal     +  healthy health
heath    n  a tract of level wasteland
heaven   n  the abode of God and the angels
heres    -  "(plural) the present location" has no plural
heroic   a  showing extreme courage; especially of actions
hike     n  a long walk usually for exercise
hike     v  walk a long way, as for pleasure
hind     n  a female deer, especially an adult
hive     n  a man-made receptacle that houses a swarm
homo     +  hominidae
honour   +  honored honor
hood     n  a headdress that protects the head and face
hook     n  a curved or bent implement for suspending
hook     v  entice and trap
hooved   +  hoofs
horrible +  horror
hostess  +  host
hot      a  producing a burning sensation on the taste nerves
hubcap   +  hub cap
huff     n  a state of irritation or annoyance
humour   n  the quality of being funny
hump     n  something that bulges out or is protuberant
hut      n  small crude shelter used as a dwelling
hydra    +  hydrozoan
iambic   +  iambs
idolater +  idols
imagine  +  image
imago    +  image
immune   a  (usually followed by 'to') not affected by a given influence
inaction +  inactive
indent   v  set in from the margin
indigo   n  a blue-violet color
inept    a  generally incompetent and ineffectual
informal a  not officially recognized or controlled
inspire  v  serve as the inciting cause of
intro    +  introductory
invite   v  ask someone in a friendly way to do something
invoice  n  an itemized statement of money owed
involve  v  have as a necessary feature
ira      -  Latin for anger, the Bible's Ira a man
iranian  +  irani
irony    n  incongruity between what might be expected
isle     +  island
israeli  +  israel
issue    n  an important question that is in dispute
issue    v  bring out an official document
itch     n  an irritating cutaneous sensation
itch     v  have a strong desire or urge to do something
jam      n  preserve of crushed fruit
japan    +  japanese
jar      n  a vessel (usually cylindrical) with a wide mouth
javan    +  javanese
jawbone  +  jaw
jealous  a  suspicious or unduly suspicious or fearful
jewish   +  jews
judaea   +  judah
karen    -  a language of the Thai-Burmese border few solvers know
kernel   n  the inner and usually edible part of a seed
kites    n  plaything consisting of a light frame
kneel    +  knees
knocker  n  a device (usually metal and ornamental) attached
knot     n  any of various fastenings formed by looping
laban    +  labanotation
labor    n  productive work (especially physical work
labour   n  productive work (especially
lace     n  a delicate decorative fabric woven
lace     v  add alcohol to (beverages)
lack     v  be without
lactate  v  give suck to
ladle    +  lade
lager    n  a general term for beer
lame     a  disabled in the feet or legs
lance    +  lancet
land     n  the solid part of the earth's surface
lands    n  territory over which rule
larn     -  a dialect spelling of learn
lattice  n  framework consisting of an ornamental design
laugh    +  laughter laughing
lawgiver +  laws
lazy     a  disinclined to work or exertion
leap     n  a light, self-propelled movement upwards
leap     v  jump down from an elevated point
leaved   +  leafed
lefts    n  a turn toward the side of the body
legions  n  a large military unit
lend     v  give temporarily; let have
leper    +  leprosy
less     a  (comparative of 'little' usually used
levels   n  a position on a scale of intensity
levite   +  levi
liberal  a  having political or social views favoring
light    n  (physics) electromagnetic radiation that can produce
light    v  cause to start burning
lights   n  any device serving as a source of illumination
lilies   -  its only sense names liliaceous and Lilium
lily     +  liliaceous lilium
limber   a  (used of persons' bodies) capable of moving
linear   a  of or in or along or relating to a line
liner    n  a large commercial ship
lioness  +  lion
lir      -  an Irish sea god no solver knows
lobotomy +  lobe
lobule   +  lobe
local    a  affecting only a restricted part or area
lock     n  a fastener fitted to a door or drawer
logs     n  a segment of the trunk of a tree
lonely   +  alone
loon     n  large somewhat primitive fish-eating diving bird
loop     n  anything with a round or oval shape
lop      v  cut off from a whole
lorry    n  a large truck designed to carry heavy loads
lover    n  a significant other to whom
loyalty  +  loyal
luck     n  an unknown and unpredictable phenomenon that leads
lunacy   n  foolish or senseless behavior
mafia    n  a crime syndicate in the United States
magi     n  (New Testament) the sages who visited Jesus
maha     -  a second name for the Omaha nobody uses
make     v  earn on some commercial or business transaction
mall     n  mercantile establishment consisting of a carefully
maltese  n  breed of toy dogs
maltese  +  malta
manage   v  be in charge of, act on, or dispose of
manly    +  manlike
manna    n  (Old Testament) food that God gave
manners  n  social deportment
mannish  +  man
manus    -  the Latin name of the hand
map      n  a diagrammatic representation of the earth's surface
map      v  plan, delineate, or arrange in detail
masses   n  the common people generally
mate     n  a person's partner in marriage
matt     a  not reflecting light
matte    a  not reflecting light
mature   a  having reached full natural growth
mature   v  cause to ripen or develop fully
may      n  the month following April and preceding June
mayhem   n  violent and needless disturbance
medan    -  a city in Indonesia, not the Bible's Medan
megaton  +  tons
memories n  something that is remembered
mesh     n  an open fabric of string or rope
messes   n  a state of confusion and disorderliness
mid      +  middle
midday   +  middle
milch    +  milk
mince    v  cut into small pieces
mini     n  a very short skirt
ministry +  ministers
mint     n  a plant where money is coined
mites    n  any of numerous very small to minute arachnids
mobile   a  moving or capable of moving readily
modern   a  relating to a recently developed fashion or style
modes    n  how something is done or how
moil     v  work hard
mole     n  small velvety-furred burrowing mammal having small eyes
mon      n  the second day of the week
mongol   +  mongolia
moods    n  a characteristic (habitual or relatively temporary) state
moody    a  showing a brooding ill humor
motel    -  its only sense, "a motor hotel", names what it is made from
motion   n  a natural event that involves a change in the position
motor    v  travel or be transported in a vehicle
mounds   n  a small natural hill
musketry +  musketeers muskets
naiad    n  (Greek mythology) a nymph of lakes
narcotic n  a drug that produces numbness
natures  n  the complex of emotional and intellectual
nazi     n  a German member of Adolf Hitler's
necktie  +  neckwear
needle   n  a sharp pointed implement (usually steel)
neither  +  either
nelson   n  English admiral who defeated
nergal   -  an Akkadian god whose gloss reads garbled without its note
nets     n  an open fabric of string or rope
neurosis +  neurological
never    +  ever
new      a  original and of a kind not seen before
newcomer +  new
next     a  immediately following in time or order
niagara  n  a river flowing from Lake Erie
nitre    -  its only gloss has no head noun once its formula is cut
node     n  a connecting point at which several lines
noised   -  "emit a noise" names noise; "resound" is not the Bible's sense
normal   a  being approximately average or within certain limits
norman   +  normandy
northern -  every sense names the north but a dialect of Middle English
northward -  every sense names the north, or clues NORTH
novelty  n  originality by virtue of being new
now      r  at the present moment
nunnery  +  nuns
nurse    n  one skilled in caring for young children
oaken    +  oak
oath     n  a solemn promise, usually invoking
obeyed   -  its only sense names obedient
obeys    -  its only sense names obedient
obtuse   a  slow to learn or understand
one      n  a single person or thing
onus     +  onerous
option   n  one of a number of things from which
oracle   n  an authoritative person who divines
orb      n  an object with a spherical shape
orbit    +  orb
orchid   +  orchidaceous
ostrich  n  fast-running African flightless bird
outer    +  outside
outfit   n  a set of clothing
ovular   +  ovum
paddle   n  a short light oar used without an oarlock
painful  a  causing physical discomfort
pal      n  a close friend who accompanies his buddies
paps     n  the small projection of a mammary gland
paranoid +  paranoia
parcel   n  a wrapped container
parity   n  functional equality
partake  v  have, give, or receive a share of
partaker +  part
pate     n  the top of the head
pattern  n  a decorative or artistic work
pave     v  cover with a material such as stone
peach    n  downy juicy fruit with sweet
peak     n  the top or extreme point of something
pepper   n  sweet and hot varieties of fruits
perils   n  a source of danger
pestle   n  a club-shaped hand tool for grinding
phone    +  telephone
pill     n  a dose of medicine in the form of a small pellet
pillar   n  (architecture) a tall vertical cylindrical structure
pip      n  a small hard seed found in some fruits
plague   n  any epidemic disease with a high death rate
plague   v  annoy continually or chronically
planks   n  a stout length of sawn timber
plant    n  (botany) a living organism
plate    n  dish on which food is served
please   r  used in polite request
please   v  give satisfaction
plower   +  ploughman plowman
plumed   +  plumose
ply      v  travel a route regularly
poet     +  poems
poets    -  its only sense names poems
polar    a  extremely cold
pontus   n  an ancient region of northern Asia Minor
pony     n  any of various breeds of small gentle horses
pop      v  make a sharp explosive noise
portion  n  an individual quantity of food or drink
pose     v  pretend to be someone you are not
pose     +  posture
powers   n  possession of the qualities (especially mental
pretty   a  pleasing by delicacy or grace
prey     n  animal hunted or caught for food
price    n  the amount of money needed to purchase
prickle  n  a small sharp-pointed tip resembling
primal   a  having existed from the beginning
private  +  privacy
prize    n  something given for victory or superiority
profane  a  grossly irreverent toward what is held
publican +  public
puddle   n  a small body of standing water (rainwater)
puke     v  eject the contents of the stomach
pull     v  apply force so as to cause motion towards
pump     n  a mechanical device that moves fluid
putts    -  the noun is an act without a plural; the verb names the putter
queen    n  a female sovereign ruler
quest    n  the act of searching for something
quid     n  the basic unit of money in Great Britain
rabid    +  rabies
racism   +  racialism
radios   n  an electronic receiver that detects
rages    n  a feeling of intense anger
raiment  n  especially fine or decorative clothing
rained   -  its only sense names rain
raise    v  move upwards
raiser   -  a bridge partner or a cultivator, neither a solver's RAISER
ratlike  +  rat
raven    n  large black bird with a straight bill
raw      a  not treated with heat to prepare it for eating
reader   n  a person who can read; a literate person
realise  v  be fully aware or cognizant of
reaper   n  someone who helps to gather the harvest
receipt  n  an acknowledgment (usually tangible) that payment has been made
receiver n  earphone that converts electrical signals into sounds
recorder n  a tubular wind instrument with 8
redness  n  red color or pigment; the chromatic
reduce   v  make smaller
reflect  v  to throw or bend back
relieve  +  relief
remedy   n  a medicine or therapy that cures disease
remnant  n  a piece of cloth that is left over
repay    v  act or give recompense in recognition
reptile  +  reptilia
resist   v  withstand the force of something
respect  n  an attitude of admiration or esteem
rests    n  a pause for relaxation
retain   v  secure and keep for possible future use
revere   v  regard with feelings of respect and reverence
rick     n  a stack of hay
riddle   n  a difficult problem
ride     v  be carried or travel on or in a vehicle
rights   n  (frequently plural) the interest possessed by law
riotous  a  characterized by unrest or disorder
ripen    +  ripe
roebuck  +  roe
rotary   +  rotation
rover    n  someone who leads a wandering unsettled life
rowdy    a  disturbing the public peace
royal    a  of or relating to or indicative of or issued
royal    +  royalty
rubies   n  a transparent deep red variety of corundum
rue      v  feel remorse for; feel sorry for
ruler    n  measuring stick consisting of a strip of wood
rumor    +  rumour
runner   n  a trained athlete who competes in foot races
sable    n  the expensive dark brown fur of the marten
safely   +  safety
safety   n  a device designed to prevent injury
sakes    n  a reason for wanting something done
salah    -  a pillar of Islam in a statement, not the Bible's Salah
salim    -  a terrorist's alias, the Bible's Salim a place
salt     n  white crystalline form of especially sodium chloride
sap      n  a watery solution of sugars, salts, and minerals
sap      v  deplete
satyr    n  one of a class of woodland deities
savings  n  a fund of money put by
sawn     -  its only sense names the saw
scales   n  a measuring instrument for weighing
scenery  n  the appearance of a place
scenic   +  scenery
scented  a  filled or impregnated with perfume
school   n  an educational institution
school   v  teach or refine to be discriminative
schtick  n  (Yiddish) a contrived and often used bit
scorn    v  look down on with disdain
scotch   n  whiskey distilled in Scotland
scotch   +  scotland
scratch  v  scrape or rub as if to relieve itching
screw    n  a fastener with a tapered threaded shank
screw    v  defeat someone through trickery or deceit
scribe   n  someone employed to make written copies
seaman   -  "a man who serves as a sailor" names man; the other is a journalist
seated   a  (of persons) having the torso erect
secrecy  +  secret
seller   n  someone who promotes or exchanges goods
senses   n  the faculty through which the external
sevens   -  "fantan" is obscure; the number has no plural; the card names seven
sewer    +  sewage
shad     n  bony flesh of herring-like fish
shade    +  shadow
shadow   +  shade
shaft    n  a long rod or pole
shape    n  the spatial arrangement of something
shapely  -  its only sense names shape, and cut leaves a stub
shark    n  a person who is ruthless and greedy
sharpen  +  sharp sharper
shear    n  a large edge tool that cuts sheet metal
shocks   n  an unpleasant or disappointing surprise
shoddy   a  of inferior workmanship and materials
shorts   n  trousers that end at or above
shove    v  push roughly
show     v  make visible or noticeable
shreds   n  a small piece of cloth or paper
shrink   v  become smaller or draw together
shroud   n  burial garment in which a corpse is wrapped
shua     -  WordNet's is a branch of Shinto, the Bible's a man
side     n  either the left or right half of a body
simplify +  simpler
sin      n  an act that is regarded by theologians
sinew    n  a cord or band of inelastic tissue
singer   -  "a person who sings" names sing; the others are names without a hint
single   a  not married or related to the unmarried state
situate  +  site
six      n  the cardinal number that is the sum
skilful  +  skill
skyline  +  sky
skyward  +  sky
slake    v  satisfy (thirst)
sleep    +  asleep
sleepy   +  asleep
slew     n  (often followed by
sling    n  bandage to support an injured forearm
slope    n  the property possessed by a line or surface
slow     +  slowly
smear    n  slanderous defamation
smith    n  someone who works metal
smog     +  smoke fog
smokes   n  tobacco leaves that have been made
smooch   n  an enthusiastic kiss
snuff    n  finely powdered tobacco for sniffing
social   +  society
socially +  society
society  +  social
soften   +  soft softer
soil     n  the part of the earth's surface consisting of humus
sol      +  solmization
solidly  r  with strength and soundness
solitary a  lacking companions or companionship
solitary +  solitude
solve    -  "settle, as of a debt" is rare; the others name solution
somehow  r  for some unspecified reason
sooner   r  more readily or willingly
sop      n  piece of solid food for dipping in a liquid
sorcerer +  sorcery
sour     a  having a sharp biting taste
southward -  every sense names the south, or clues SOUTH
spaces   n  an empty area
spade    n  a sturdy hand shovel that can be pushed
spat     n  a quarrel about petty points
spatter  n  the act of splashing a (liquid) substance
spell    n  a psychological state induced by
spell    v  write or name the letters
spice    n  any of a variety of pungent
spike    n  a long, thin sharp-pointed implement
spray    n  water in small drops in the atmosphere
sprig    n  a small branch or division of a branch
springs  n  a natural flow of ground water
spud     n  an edible tuber native to South America
spur     n  a sharp prod fixed to a rider's heel
squish   n  the noise of soft mud being walked on
stall    n  a compartment in a stable where
stall    v  come to a stop
steads   -  its only sense, the post of another, has no plural
steep    a  having a sharp inclination
steep    v  let sit in a liquid to extract a flavor
stem     n  a slender or elongated structure that supports
sticky   a  covered with an adhesive material
stifle   v  smother or suppress
still    r  despite anything to the contrary
stink    v  smell badly and offensively
stir     v  move very slightly
stout    a  having rugged physical strength
strand   n  line consisting of a complex of fibers
stretch  v  extend one's limbs or muscles, or the entire
striker  n  a forward on a soccer team
stupor   n  marginal consciousness
sub      +  substitute submersible
subject  n  a branch of knowledge
suckle   +  sucks suck
sum      +  summary
sunshine +  sun
supple   a  moving and bending with ease
supreme  a  greatest in status or authority or power
surgeon  +  surgery
suture   n  a seam used in surgery
swan     n  stately heavy-bodied aquatic bird
swedish  +  sweden
sweeten  +  sweeter
swiss    +  switzerland
taches   -  a made-up plural of tach, the Bible's taches clasps
take     v  get into one's hands, take physically
talcum   +  talc
tally    n  the act of counting; reciting numbers
tame     v  overcome the wildness of; make docile
tan      +  tannic
tangent  n  ratio of the opposite to the adjacent side
tarmac   +  tar macadam
tarry    v  leave slowly and hesitantly
tarsus   +  metatarsus
tastes   n  a strong liking
tattler  n  someone who gossips indiscreetly
tattoo   n  a design on the skin made by tattooing
tax      n  charge against a citizen's person or property
teacher  -  "whose occupation is teaching" names teach; the other cut is a stub
teahouse +  tea
teller   n  an employee of a bank who receives
tempest  n  (literary) a violent wind
tempt    v  provoke someone to do something through
tens     n  the cardinal number that is the sum of nine and one
tensions n  feelings of hostility that are not manifest
tensor   n  a generalization of the concept of a vector
termed   -  its only sense names term
terrible +  terror
theatre  +  theatrical
thing    n  a separate and self-contained entity
thinly   r  in a small quantity or extent
thirsty  a  feeling a need or desire to drink
tho      -  an obscure Tai language, not "though"
thorn    n  a small sharp-pointed tip
threaten +  threat
thresh   v  beat the seeds out of a grain
thrice   +  three
thrill   n  something that causes you to experience
throne   +  enthrone
tiger    n  large feline of forests in most of Asia
till     v  work land as by ploughing
tiller   n  lever used to turn the rudder
title    n  the name of a work of art or literary composition
token    n  a metal or plastic disk that can be redeemed
tonight  +  night
topper   n  a man's hat with a tall crown
torments n  intense feelings of suffering; acute
tory     n  a member of political party in Great Britain
tot      n  a young child
trade    n  the commercial exchange (buying and selling
trade    v  exchange or give (something) in exchange for
trades   n  the skilled practice of a practical
transit  v  make a passage or journey from one place
trash    n  worthless material that is to be disposed of
trek     n  any long and difficult trip
tribe    n  a social division of (usually preliterate) people
trinity  n  the union of the Father and Son
tripoli  n  the capital and chief port and largest city of Libya
truly    r  with sincerity
truly    +  truth
trump    n  (card games) the suit that has been declared
tunnel   n  a passageway through or under something
turkish  +  turkey turkic turks
twit     n  someone who is regarded as contemptible
twosome  +  two
tyler    n  elected vice president and became the 10th President
unbend   v  straighten up or out
uncut    a  complete
undue    a  not appropriate or proper (or even
unfold   v  extend or stretch out to a greater or the full
unshaped +  unshapen
update   +  date
upside   +  side
uptime   +  time
uptown   +  town
usable   +  useable
usual    a  commonly encountered
vacant   a  without an occupant or incumbent
values   n  beliefs of a person or social group
vanilla  a  plain and without any extras or adornments
vapour   +  vapor
vessel   n  a craft designed for water transportation
vest     n  a man's sleeveless garment worn underneath a coat
vet      v  examine carefully
vet      +  veterinary veterinarian
video    n  a recording of both the visual and audible
vinyl    n  shiny and tough and flexible plastic
viol     +  violin
wafer    n  a small thin crisp cake or cookie
wage     n  something that remunerates
wake     v  stop sleeping
wanton   a  occurring without motivation or provocation
warmer   +  warmth
warp     v  bend out of shape, as under pressure
wash     v  cleanse with a cleaning agent, such as soap
water    n  a liquid necessary for the life
waxen    +  wax
wayside  +  way
weigh    +  weight
wench    n  informal terms for a (young) woman
western  -  every sense names the west but "of wind", which is no clue
westward -  every sense names the west, or clues WEST
whale    n  any of the larger cetacean mammals
wheaten  +  wheat
white    +  whiten
whiten   +  white
wills    n  a legal document declaring a person's
windup   n  a concluding action
wiper    n  a mechanical device that cleans the windshield
wise     +  wisdom
wish     n  a specific feeling of desire
wits     n  the basic human power of intelligent thought
wooden   +  wood
wounds   n  an injury to living tissue
wretch   n  someone you feel sorry for
xerox    +  xerographic xerography
yoke     n  stable gear that joins two draft animals
)";

} // namespace

std::vector<FirstSense> ParseFirstSenses(std::string_view text)
{
    std::vector<FirstSense> entries;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        line = line.substr(0, line.find('#'));
        const std::string_view word = NextField(line);
        const std::string_view part = NextField(line);
        const size_t opening = line.find_first_not_of(kBlanks);
        const size_t last = line.find_last_not_of(kBlanks);
        if (word.empty() || part.size() != 1 || std::string_view("nvar-+").find(part[0]) == std::string_view::npos ||
            opening == std::string_view::npos)
            continue;
        entries.push_back({word, part[0], line.substr(opening, last - opening + 1)});
    }
    return entries;
}

std::string_view FirstSensesText()
{
    return kList;
}

} // namespace pelorin
